#ifndef PROYECTO_H
#define PROYECTO_H

#include "catalogo.h"
#include "maquina.h"
#include "problemaproyecto.h"

#include <QString>
#include <QVector>

class XmlHandler;

// The project as the rest of Vireo reads it: general data, catalogues and the
// machines with their states and transitions, typed and read only. Built
// from a project document in one pass (desdeDocumento), with every trigger
// and action list read once. Indices are those of the file: machine k is
// "maquina" + k, state i of a machine is "estado" + i, transition j of a
// state is "tr" + j. A value type: copies share their data.
//
// Texts are as the document gives them, "-1" for a missing value; catalogue
// entries missing from their numbering read as empty names.
class Proyecto
{
public:
    Proyecto() = default;
    static Proyecto desdeDocumento(const XmlHandler &datos);

    const QString &nombre() const { return m_nombre; }
    const QString &autores() const { return m_autores; }
    const QString &creacion() const { return m_creacion; }
    const QString &modificacion() const { return m_modificacion; }
    const QString &carpeta() const { return m_carpeta; }

    const QVector<Maquina> &maquinas() const { return m_maquinas; }
    const Maquina &maquina(int indice) const { return m_maquinas.at(indice); }
    int cantidadMaquinas() const { return m_maquinas.size(); }

    const Catalogo &catalogo() const { return m_catalogo; }
    const QStringList &eventos() const { return m_catalogo.eventos; }
    const QStringList &acciones() const { return m_catalogo.acciones; }
    const QStringList &variables() const { return m_catalogo.variables; }
    const QStringList &constantes() const { return m_catalogo.constantes; }

    // What the file holds that the model could not take as written, in
    // machine, state and transition order.
    const QVector<ProblemaProyecto> &problemas() const { return m_problemas; }

private:
    class Lector;

    QString m_nombre;
    QString m_autores;
    QString m_creacion;
    QString m_modificacion;
    QString m_carpeta;
    QVector<Maquina> m_maquinas;
    Catalogo m_catalogo;
    QVector<ProblemaProyecto> m_problemas;
};

#endif // PROYECTO_H
