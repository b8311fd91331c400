#include "tramaenlace.h"

#include <QStringList>
#include <algorithm>
#include <charconv>

namespace {

// A report longer than this is taken for a corrupt length prefix.
constexpr int LimiteReporte = 1 << 20;

int indexIn(const QByteArray &datos, char c, int desde, int hasta)
{
    for (int i = desde; i < hasta; ++i) {
        if (datos.at(i) == c)
            return i;
    }
    return -1;
}

LecturaReporte invalida(int consumidos)
{
    LecturaReporte lectura;
    lectura.estado = LecturaReporte::Invalida;
    lectura.consumidos = consumidos;
    return lectura;
}

// A frame whose header was read but is not right runs through its "@";
// until that arrives it is not over.
LecturaReporte hastaLaArroba(const QByteArray &datos, int desde, int busqueda)
{
    const int fin = datos.indexOf('@', busqueda);
    return fin < 0 ? LecturaReporte() : invalida(fin + 1 - desde);
}

bool esCifra(char c)
{
    return c >= '0' && c <= '9';
}

enum class Cabecera { No, Incompleta, Si };

// Whether a frame header, digits then ":", starts at `pos`.
Cabecera cabeceraEn(const QByteArray &datos, int pos)
{
    int i = pos;
    while (i < datos.size() && esCifra(datos.at(i)))
        ++i;
    if (i == pos)
        return Cabecera::No;
    if (i == datos.size())
        return Cabecera::Incompleta;
    return datos.at(i) == ':' ? Cabecera::Si : Cabecera::No;
}

// Bytes at `desde` that cannot start a frame (noise, a peer joining in the
// middle of a frame) run through the next "@" or up to the next frame
// header, whichever comes first, so the frame after them is still read. Only
// where a run of digits begins can a header begin.
LecturaReporte basura(const QByteArray &datos, int desde)
{
    for (int i = desde + 1; i <= datos.size(); ++i) {
        if (datos.at(i - 1) == '@')
            return invalida(i - desde);
        if (i == datos.size() || !esCifra(datos.at(i)) || esCifra(datos.at(i - 1)))
            continue;
        switch (cabeceraEn(datos, i)) {
        case Cabecera::Si:
            return invalida(i - desde);
        case Cabecera::Incompleta:
            return LecturaReporte();
        case Cabecera::No:
            break;
        }
    }
    return LecturaReporte();
}

Reporte camposDe(const QString &payload)
{
    QStringList campos = payload.split(QLatin1Char(','));
    while (campos.size() < 5)
        campos.append(QString());
    Reporte reporte;
    reporte.maquina = campos.at(0);
    reporte.estado = campos.at(1);
    reporte.evento = campos.at(2);
    reporte.proxEstado = campos.at(3);
    reporte.acciones = campos.mid(4).join(QLatin1Char(','));
    return reporte;
}

} // namespace

// Every simulated step of every machine is framed, so the frame is written
// in place in one allocation: one UTF-16 unit gives one Latin-1 byte ("?"
// outside Latin-1, as QString::toLatin1 does), so the payload's length is
// known beforehand.
QByteArray TramaEnlace::codificar(const Reporte &reporte)
{
    const QString *campos[] = {&reporte.maquina, &reporte.estado, &reporte.evento, &reporte.proxEstado,
                               &reporte.acciones};
    int largo = 4;
    for (const QString *campo : campos)
        largo += campo->size();
    char cifras[16];
    const int numCifras = int(std::to_chars(cifras, cifras + sizeof cifras, largo).ptr - cifras);
    QByteArray trama(numCifras + 1 + largo + 1, Qt::Uninitialized);
    char *destino = std::copy(cifras, cifras + numCifras, trama.data());
    *destino++ = ':';
    for (const QString *campo : campos) {
        if (campo != campos[0])
            *destino++ = ',';
        for (const QChar c : *campo)
            *destino++ = c.unicode() < 0x100 ? char(c.unicode()) : '?';
    }
    *destino = '@';
    return trama;
}

QByteArray TramaEnlace::reset()
{
    Reporte reporte;
    reporte.evento = QStringLiteral("(reset)");
    return codificar(reporte);
}

QByteArray TramaEnlace::evento(const QString &nombre)
{
    const QByteArray bytes = nombre.toUtf8();
    return QByteArray::number(bytes.size()) + ':' + bytes + '@';
}

LecturaEvento TramaEnlace::leerEvento(const QByteArray &datos, int desde)
{
    LecturaEvento lectura;
    const int fin = datos.indexOf('@', desde);
    if (fin < 0)
        return lectura;
    lectura.estado = LecturaEvento::Completa;
    lectura.consumidos = fin + 1 - desde;
    const int primero = indexIn(datos, ':', desde, fin);
    if (primero < 0)
        return lectura;
    int segundo = indexIn(datos, ':', primero + 1, fin);
    if (segundo < 0)
        segundo = fin;
    QByteArray campo = datos.mid(primero + 1, segundo - primero - 1);
    const int cero = campo.indexOf('\0');
    if (cero >= 0)
        campo.truncate(cero);
    lectura.tieneEvento = true;
    lectura.evento = QString::fromUtf8(campo);
    return lectura;
}

LecturaReporte TramaEnlace::leerReporte(const QByteArray &datos, int desde)
{
    switch (cabeceraEn(datos, desde)) {
    case Cabecera::No:
        return basura(datos, desde);
    case Cabecera::Incompleta:
        return LecturaReporte();
    case Cabecera::Si:
        break;
    }
    int i = desde;
    qint64 longitud = 0;
    while (esCifra(datos.at(i))) {
        longitud = longitud * 10 + (datos.at(i) - '0');
        if (longitud > LimiteReporte)
            return hastaLaArroba(datos, desde, i);
        ++i;
    }
    const int inicio = i + 1;
    if (inicio + longitud >= datos.size())
        return LecturaReporte();
    if (datos.at(inicio + int(longitud)) != '@')
        return hastaLaArroba(datos, desde, inicio);
    LecturaReporte lectura;
    lectura.estado = LecturaReporte::Completa;
    lectura.consumidos = inicio + int(longitud) + 1 - desde;
    lectura.reporte = camposDe(QString::fromLatin1(datos.mid(inicio, int(longitud))));
    return lectura;
}

QString TramaEnlace::linea(const Reporte &reporte)
{
    if (reporte.maquina.isEmpty() && reporte.estado.isEmpty())
        return reporte.evento;
    QString linea = reporte.maquina + QStringLiteral(": ") + reporte.estado + QStringLiteral(" --") +
                    reporte.evento + QStringLiteral("--> ") + reporte.proxEstado;
    if (!reporte.acciones.isEmpty())
        linea += QStringLiteral(" / ") + reporte.acciones;
    return linea;
}

QString TramaEnlace::visible(const QString &texto)
{
    QString resultado;
    resultado.reserve(texto.size());
    for (const QChar c : texto) {
        const ushort u = c.unicode();
        // C1 controls too: some terminals take U+009B as the start of a
        // control sequence, as they take ESC "[".
        const bool control = (u < 0x20 && u != '\t') || (u >= 0x7f && u <= 0x9f);
        if (control)
            resultado += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            resultado += c;
    }
    return resultado;
}
