#ifndef TRAMAENLACE_H
#define TRAMAENLACE_H

#include <QByteArray>
#include <QString>

// One simulation step as reported to the peer on the report port: the
// machine, the state it left, the event that fired, the state it entered and
// its actions (already joined with ";"). The reset report has only the event.
struct Reporte
{
    QString maquina;
    QString estado;
    QString evento;
    QString proxEstado;
    QString acciones;

    bool operator==(const Reporte &otro) const
    {
        return maquina == otro.maquina && estado == otro.estado && evento == otro.evento &&
               proxEstado == otro.proxEstado && acciones == otro.acciones;
    }
};

// Result of reading one incoming event frame ("...:evento...@") from a byte
// array. `consumidos` counts the bytes through the closing "@".
struct LecturaEvento
{
    enum Estado { Incompleta, Completa };
    Estado estado = Incompleta;
    int consumidos = 0;
    // False for a frame without a second ":"-field (nothing to apply).
    bool tieneEvento = false;
    QString evento;
};

// Result of reading one report frame ("N:payload@") from a byte array.
// Invalida: the `consumidos` bytes are not a frame and are skipped whole; a
// run that may still grow is Incompleta until its end is known.
struct LecturaReporte
{
    enum Estado { Incompleta, Invalida, Completa };
    Estado estado = Incompleta;
    int consumidos = 0;
    Reporte reporte;
};

// The frames of the simulation link. Every function is pure: no sockets, no
// state, so the framing can be checked byte by byte.
class TramaEnlace
{
public:
    // "N:maquina,estado,evento,proxEstado,acciones@" in Latin-1 (characters
    // outside Latin-1 become "?"); N is the payload's byte count.
    static QByteArray codificar(const Reporte &reporte);
    // "11:,,(reset),,@".
    static QByteArray reset();
    // "N:evento@" as a peer sends it to drive the simulation (UTF-8).
    static QByteArray evento(const QString &nombre);

    // Reads the event frame that starts at `desde`: everything up to the next
    // "@", split at ":", whose second field (decoded as UTF-8 up to the first
    // zero byte) names the event. The first field is not read.
    static LecturaEvento leerEvento(const QByteArray &datos, int desde = 0);
    // Reads the report frame that starts at `desde`, trusting its length
    // prefix, so a "@" or "," inside the payload does not cut it short. A
    // frame whose length is wrong is invalid through its "@"; bytes that do
    // not start with "N:" are invalid up to the next "N:" or through the
    // next "@", whichever comes first, so noise before a frame does not
    // take the frame with it.
    static LecturaReporte leerReporte(const QByteArray &datos, int desde = 0);

    // The line vireo-cli shows for a report:
    // "maquina: estado --evento--> proxEstado / acciones", or the event alone
    // for a report without machine and state (the reset).
    static QString linea(const Reporte &reporte);
    // The text with every control character written as "\x" and two hex
    // digits (tab kept), so that what a peer sends cannot drive a terminal.
    static QString visible(const QString &texto);
};

#endif // TRAMAENLACE_H
