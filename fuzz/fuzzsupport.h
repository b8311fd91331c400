#ifndef FUZZSUPPORT_H
#define FUZZSUPPORT_H

#include "xmlhandler.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace FuzzSupport {

// The input as bytes, without copying (valid while the fuzzer's buffer is).
inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
}

// The document a project file with these bytes opens as, or null when Vireo
// refuses to open it.
// As a file is opened: from its bytes.
inline std::unique_ptr<XmlHandler> cargar(const QByteArray &contenido)
{
    auto datos = std::make_unique<XmlHandler>();
    if (!datos->load(contenido))
        return nullptr;
    return datos;
}

// A broken property is a crash for the fuzzer, which then keeps the input.
[[noreturn]] inline void fallar(const char *motivo)
{
    std::fprintf(stderr, "Propiedad rota: %s\n", motivo);
    std::abort();
}

inline void exigir(bool condicion, const char *motivo)
{
    if (!condicion)
        fallar(motivo);
}

} // namespace FuzzSupport

#endif // FUZZSUPPORT_H
