#ifndef RELEVODEPURACION_H
#define RELEVODEPURACION_H

#include "pasomaquina.h"
#include "puertodepuracion.h"
#include "tramaenlace.h"

#include <QMetaType>
#include <QMutex>
#include <QObject>
#include <QVector>
#include <memory>

class ClienteReportes;
class ModeloDepuracion;
class Proyecto;

// Follows a board for the window, in the thread of the report link: every
// transition line read from the port has its report frame sent on the link
// as soon as it is read, before the window hears of it, so drawing the
// diagrams and the panel never delays a frame. The steps then wait for the
// window, which takes them all at once when it next refreshes. The window is
// told only of the first steps after a refresh that found none: while a
// board keeps logging, the window refreshes on its own clock and the link's
// thread never wakes it in the middle of relaying a line.
//
// Lives in the same thread as its ClienteReportes; iniciar() and terminar()
// are called in that thread, tomarPasos() in any.
class RelevoDepuracion : public QObject
{
    Q_OBJECT

public:
    // A transition line as relayed: the step it names (paso.maquina is -1
    // when its numbers name no transition of the project) and its report.
    struct Paso
    {
        // When it was read, in milliseconds since the epoch.
        qint64 recibido = 0;
        QByteArray linea;
        PasoMaquina paso;
        Reporte reporte;
    };

    explicit RelevoDepuracion(ClienteReportes *enlace);
    ~RelevoDepuracion() override;

    // Opens the port and follows it with the project's numbering; false with
    // errorString() when the port cannot be opened.
    bool iniciar(const Proyecto &proyecto, const QString &ruta, qint32 velocidad);
    void terminar();
    QString errorString() const { return m_puerto.errorString(); }
    // The steps relayed since the last call, oldest first. A caller that
    // gets none is sent pasosPendientes() when the next ones arrive; one that
    // gets some is expected to call again.
    QVector<Paso> tomarPasos();

signals:
    // Steps wait in tomarPasos() and the last call found none.
    void pasosPendientes();
    // The port failed after opening; the relay has stopped.
    void cerrado(const QString &motivo);

private:
    void relevar(const QVector<LineaDepuracion> &lineas);

    ClienteReportes *m_enlace;
    PuertoDepuracion m_puerto;
    std::unique_ptr<ModeloDepuracion> m_modelo;
    QMutex m_mutexPasos;
    QVector<Paso> m_pasos;
    bool m_avisado = false;
};

#endif // RELEVODEPURACION_H
