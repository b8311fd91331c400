#ifndef HISTORIALPROYECTO_H
#define HISTORIALPROYECTO_H

#include "instantanea.h"

#include <QHash>
#include <QString>
#include <QVector>

// The undo history of one open project: the document a save would write
// after each completed user action, each with the name of the step that led
// to it ("Mover estado"). A state shares every piece it did not change with
// the state before it, and the bytes counted against the bound are those of
// the distinct pieces, so a step costs what it changed.
//
// Besides the current position it knows the clean one, the document last
// opened or saved: the project is modified exactly when they differ. The
// history is bounded by a number of steps and a number of bytes; the oldest
// steps are dropped first, and a clean state dropped that way can no longer be
// reached.
class HistorialProyecto
{
public:
    static constexpr int kMaxPasos = 100;
    static constexpr qint64 kMaxBytes = 64 * 1024 * 1024;

    // Starts with one clean, empty state.
    explicit HistorialProyecto(int maxPasos = kMaxPasos, qint64 maxBytes = kMaxBytes);

    // Starts over with documento as the only, clean state.
    void reiniciar(const Instantanea &documento);
    // Records the step texto that led to documento. False (nothing recorded)
    // when documento equals the current state. Steps that were undone are
    // forgotten.
    bool registrar(const QString &texto, const Instantanea &documento);

    bool puedeDeshacer() const { return m_actual > 0; }
    bool puedeRehacer() const { return m_actual + 1 < m_estados.size(); }
    // The name of the step that undo or redo would take back or repeat.
    QString textoDeshacer() const;
    QString textoRehacer() const;
    // Moves one step back or forward and returns the document there; the
    // current document when there is no such step.
    const Instantanea &deshacer();
    const Instantanea &rehacer();

    const Instantanea &actual() const { return m_estados.at(m_actual).documento; }
    // The current state's bytes become documento, which differs from them
    // only in what no step records (the file's name, folder or dates).
    void reemplazarActual(const Instantanea &documento);
    // The current state is what the file holds now (after a save, which
    // stamps the date into documento): it becomes the clean state.
    void marcarGuardado(const Instantanea &documento);
    // The file no longer matches any state (a save that failed half-way, a
    // project never written).
    void olvidarGuardado();
    bool modificado() const { return m_actual != m_limpio; }

    int pasos() const { return m_estados.size() - 1; }
    qint64 bytes() const { return m_bytes; }

private:
    struct Estado
    {
        QString texto;
        Instantanea documento;
    };

    void recortar();
    void contar(const Instantanea &documento);
    void descontar(const Instantanea &documento);
    void contarPieza(const QByteArray &pieza);
    void descontarPieza(const QByteArray &pieza);

    // How many pieces of the kept states share each buffer.
    QHash<const char *, int> m_usos;
    QVector<Estado> m_estados;
    int m_actual = 0;
    // -1 when the clean state is not in the history.
    int m_limpio = -1;
    qint64 m_bytes = 0;
    int m_maxPasos;
    qint64 m_maxBytes;
};

#endif // HISTORIALPROYECTO_H
