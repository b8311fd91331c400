#ifndef DESCRIPCIONPROYECTO_H
#define DESCRIPCIONPROYECTO_H

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// A project written as its .vro text from a short description, for tests
// and benchmarks that need a project without a window.
struct DescripcionProyecto
{
    struct Transicion
    {
        QString disparador;
        // Entries joined with ",", as stored.
        QString acciones;
        int destino = 0;
    };
    struct Estado
    {
        QString nombre;
        QVector<Transicion> transiciones;
    };
    struct Maquina
    {
        QString nombre;
        // -1: no initial state.
        int inicial = 0;
        QString accionesIniciales;
        QVector<Estado> estados;
    };

    QString nombre = QStringLiteral("PRUEBA");
    QStringList eventos;
    QStringList acciones;
    QStringList variables;
    QStringList constantes{QStringLiteral("TRUE"), QStringLiteral("FALSE")};
    QVector<Maquina> maquinas;

    QByteArray xml() const;
};

#endif // DESCRIPCIONPROYECTO_H
