#include "rebanadahilo.h"

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <cstdint>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// struct sched_attr of sched_setattr(2), in its first published size; glibc
// in Debian 12 has no wrapper for it.
struct AtributosPlanificacion
{
    std::uint32_t size;
    std::uint32_t sched_policy;
    std::uint64_t sched_flags;
    std::int32_t sched_nice;
    std::uint32_t sched_priority;
    std::uint64_t sched_runtime;
    std::uint64_t sched_deadline;
    std::uint64_t sched_period;
};

// For an ordinary thread, sched_runtime is the slice it asks for (0: the
// default); its nice value is kept.
bool fijar(std::uint64_t nanosegundos)
{
    const int politica = ::sched_getscheduler(0);
    if (politica != SCHED_OTHER)
        return false;
    AtributosPlanificacion atributos{};
    atributos.size = sizeof atributos;
    atributos.sched_policy = SCHED_OTHER;
    atributos.sched_nice = ::getpriority(PRIO_PROCESS, 0);
    atributos.sched_runtime = nanosegundos;
    return ::syscall(SYS_sched_setattr, 0, &atributos, 0) == 0;
}

} // namespace

bool RebanadaHilo::pedir(int microsegundos)
{
    return fijar(std::uint64_t(microsegundos) * 1000);
}

bool RebanadaHilo::restablecer()
{
    return fijar(0);
}

#else

bool RebanadaHilo::pedir(int)
{
    return false;
}

bool RebanadaHilo::restablecer()
{
    return false;
}

#endif
