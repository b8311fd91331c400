#include "pseudoterminal.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal()
{
    char nombre[256] = {};
    if (::openpty(&m_maestro, &m_esclavo, nombre, nullptr, nullptr) != 0) {
        m_maestro = m_esclavo = -1;
        return;
    }
    // Programs the test starts must not inherit the master: a copy left open
    // in them would keep the board plugged in.
    ::fcntl(m_maestro, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_esclavo, F_SETFD, FD_CLOEXEC);
    // Raw from the start, so nothing written before the reader configures
    // the port is edited by the line discipline.
    termios modo;
    ::tcgetattr(m_esclavo, &modo);
    ::cfmakeraw(&modo);
    ::tcsetattr(m_esclavo, TCSANOW, &modo);
    m_ruta = QString::fromLocal8Bit(nombre);
}

PseudoTerminal::~PseudoTerminal()
{
    cerrar();
}

bool PseudoTerminal::escribir(const QByteArray &datos)
{
    qint64 escritos = 0;
    while (m_maestro >= 0 && escritos < datos.size()) {
        const ssize_t n = ::write(m_maestro, datos.constData() + escritos, size_t(datos.size() - escritos));
        if (n <= 0)
            return false;
        escritos += n;
    }
    return escritos == datos.size();
}

void PseudoTerminal::cerrar()
{
    // The test's own copy of the slave goes too, or the reader would never
    // see the hang-up.
    if (m_esclavo >= 0)
        ::close(m_esclavo);
    if (m_maestro >= 0)
        ::close(m_maestro);
    m_maestro = m_esclavo = -1;
}
