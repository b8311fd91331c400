#ifndef PSEUDOTERMINAL_H
#define PSEUDOTERMINAL_H

#include <QByteArray>
#include <QString>

// A pseudo-terminal pair standing for a board on a serial port: the code
// under test opens esclavo() as its port, the test writes what the board
// would send on the master side and closes it to unplug the board.
class PseudoTerminal
{
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool valido() const { return m_maestro >= 0; }
    QString esclavo() const { return m_ruta; }
    bool escribir(const QByteArray &datos);
    // The board goes away: the port's reader sees the device vanish.
    void cerrar();

private:
    int m_maestro = -1;
    int m_esclavo = -1;
    QString m_ruta;
};

#endif // PSEUDOTERMINAL_H
