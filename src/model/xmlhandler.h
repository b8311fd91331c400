#ifndef XMLHANDLER_H
#define XMLHANDLER_H

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

class QDateTime;
class QIODevice;
class QPointF;
class XmlNode;

// The project document: one .vro file held as an element tree. Identifiers are
// tag names ("maquina" + n, "estado" + n, "tr" + n, "ev" + n, ...); a lookup
// finds the first child element with that tag. Counts are of child elements,
// so a comment in a hand-edited file is carried along but never counted.
// Readers return the text "-1" for a missing value and -1 for a missing list;
// writers return false (or do nothing) when their target is missing.
class XmlHandler
{
public:
    enum XmlType { NUEVO_XML_DATOS };

    XmlHandler();
    XmlHandler(const QString &nombreProyecto, XmlType tipo);
    ~XmlHandler();
    XmlHandler(const XmlHandler &) = delete;
    XmlHandler &operator=(const XmlHandler &) = delete;

    // Replaces the document by the parse of an already opened device. False
    // for content that is not well-formed (or nested absurdly deep, or holding
    // a DTD); the document is then left empty and *error says why and where.
    bool load(QIODevice *device, QString *error = nullptr);
    // The same from a file's bytes, remembering how it held each machine.
    bool load(const QByteArray &bytes, QString *error = nullptr);
    // Writes carpeta + "/" + nombre + ".vro" atomically. False when the
    // document names no project or folder, or any byte could not be written;
    // the previous file is then left untouched.
    bool save();
    // The same, writing contenido, which is this document's toByteArray()
    // already made (a caller that keeps the bytes serializes only once).
    bool save(const QByteArray &contenido);
    // Why the last save() failed, in Spanish for the user; empty after success.
    QString ultimoError() const;
    // The file content save() would write.
    QByteArray toByteArray() const;

    // Value formats of the project file, for the code that fills the document.
    // A number in the shortest of fixed or exponent notation with at most 6
    // significant digits (1234.5678 -> "1234.57", 1500000 -> "1.5e+06").
    static QString formatoNumero(double valor);
    // Two numbers joined by "," ("75,-80").
    static QString formatoPunto(double x, double y);
    static QString formatoPunto(const QPointF &punto);
    // "dd-MM-yyyy hh:mm:ss".
    static QString formatoFecha(const QDateTime &fecha);

    bool setContenidoGeneral(const QString &tagName, const QString &contenido);
    QString getContenidoGeneral(const QString &tagName) const;

    void addNuevaMaquina(const QString &maquinaId = QStringLiteral("maquina0"));
    void addInfoMaquina(const QString &maquinaId, const QString &nombre);
    bool setContenidoMaquina(const QString &maquinaId, const QString &tagName, const QString &contenido);
    QString getContenidoMaquina(const QString &maquinaId, const QString &tagName) const;
    int cantidadMaquinas() const;
    void borrarMaquinas();
    // Removes the machines after the first cantidad.
    void recortarMaquinas(int cantidad);
    // Each element of "maquinas", in order, as the bytes load() read it from
    // held it. Empty when the document was not loaded from bytes or they
    // were taken already: they tell nothing once the machines change, so the
    // first taker gets them (the window, as soon as it has drawn them).
    QVector<QByteArray> tomarMaquinasLeidas();
    // For machines just read from bytes that are what writing them gives:
    // makes the document hold what writing them leaves. Reading drops the
    // empty text of an empty value, and whatever "maquinas" holds besides
    // its machines (comments) goes.
    void completarMaquinasLeidas();

    // The file content in pieces, for a history that keeps only what
    // changed: partesFijas() holds what comes before the first machine and
    // after the last, maquinaToByteArray(maquinaN) each machine's element;
    // antes + every machine in order + despues is toByteArray(). The
    // machines must be the only content of "maquinas".
    struct Partes
    {
        QByteArray antes;
        QByteArray despues;
    };
    Partes partesFijas() const;
    QByteArray maquinaToByteArray(const QString &maquinaId) const;
    // Puts the machine element in bytes (as maquinaToByteArray wrote it) in
    // the place of maquinaId, or after the last machine when there is none
    // such. False, changing nothing, when bytes hold no element.
    bool cargarMaquina(const QString &maquinaId, const QByteArray &bytes);
    // The machines of otro, moved here in the place of this document's own.
    void tomarMaquinas(XmlHandler &otro);

    void addNuevoEstado(const QString &estadoId, const QString &maquinaId = QStringLiteral("maquina0"));
    void addInfoEstado(const QString &estadoId, const QString &nombre, const QString &color,
                       const QString &pos_x, const QString &pos_y, const QString &ancho, const QString &alto,
                       const QString &maquinaId = QStringLiteral("maquina0"));
    bool setContenidoEstado(const QString &estadoId, const QString &tagName, const QString &subTagName,
                            const QString &contenido, const QString &maquinaId = QStringLiteral("maquina0"));
    QString getContenidoEstado(const QString &estadoId, const QString &tagName, const QString &subTagName,
                               const QString &maquinaId = QStringLiteral("maquina0")) const;
    QString getContenidoDiagrama(const QString &estadoId, const QString &subTagName,
                                 const QString &maquinaId = QStringLiteral("maquina0")) const;
    int cantidadEstados(const QString &maquinaId = QStringLiteral("maquina0")) const;

    bool setInfoEstadoInicial(const QString &pos_x, const QString &pos_y, const QString &accion,
                              const QString &proxEstadoId, const QString &midPos, const QString &textPos,
                              const QString &maquinaId = QStringLiteral("maquina0"));
    bool setContenidoInicial(const QString &tagName, const QString &contenido, const QString &maquinaId);
    QString getContenidoInicial(const QString &tagName,
                                const QString &maquinaId = QStringLiteral("maquina0")) const;
    // The initial state's name, "" when idProxEstado names no state, "-1" when
    // the machine has no initial state.
    QString getEstadoInicial(const QString &maquinaId = QStringLiteral("maquina0")) const;
    void borrarEstadoInicial(const QString &maquinaId = QStringLiteral("maquina0"));

    bool setContenidoTransicion(const QString &estadoId, const QString &transId, const QString &subTagName,
                                const QString &contenido,
                                const QString &maquinaId = QStringLiteral("maquina0"));
    void addNuevaTransicion(const QString &estadoId, const QString &transId, const QString &evento,
                            const QString &accion, const QString &proxEstadoId, const QString &midPos,
                            const QString &textPos, const QString &maquinaId = QStringLiteral("maquina0"));
    QString getContenidoTransicion(const QString &estadoId, const QString &transId, const QString &tagName,
                                   const QString &maquinaId = QStringLiteral("maquina0")) const;
    int cantidadTransiciones(const QString &estadoId,
                             const QString &maquinaId = QStringLiteral("maquina0")) const;

    void addNuevoEvento(const QString &nombre);
    void borrarEvento(int index);
    QString getContenidoEvento(const QString &eventoId) const;
    int cantidadEventos() const;
    QStringList getNombresEventosDefinidos() const;

    void addNuevaAccion(const QString &nombre);
    void borrarAccion(int index);
    QString getContenidoAccion(const QString &accionId) const;
    int cantidadAcciones() const;
    QStringList getNombresAccionesDefinidas() const;

    void addNuevaVariable(const QString &nombre);
    void borrarVariable(int index);
    QString getContenidoVariable(const QString &variableId) const;
    int cantidadVariables() const;
    QStringList getNombresVariablesDefinidas() const;

    void addNuevaConstante(const QString &nombre);
    QString getContenidoConstante(const QString &constanteId) const;
    int cantidadConstantes() const;
    QStringList getNombresConstantesDefinidas() const;

private:
    // The typed model reads the tree directly, in one pass; the machine
    // writer appends to it the same way.
    friend class Proyecto;
    friend class EscritorMaquina;

    XmlNode *raiz() const;
    XmlNode *general(const QString &tagName) const;
    XmlNode *maquina(const QString &maquinaId) const;
    XmlNode *estado(const QString &estadoId, const QString &maquinaId) const;
    XmlNode *lista(const QString &listaTag) const;
    void quitarDeMaquinas(const std::function<bool(const XmlNode &)> &quitar);

    void addEntrada(const QString &listaTag, const QString &prefijo, const QString &nombre);
    void borrarEntrada(const QString &listaTag, const QString &prefijo, int index);
    QString getEntrada(const QString &listaTag, const QString &entradaId) const;
    int cantidadEntradas(const QString &listaTag) const;
    QStringList getNombresEntradas(const QString &listaTag, const QString &prefijo) const;

    // The document node; its only element child is the root "proyecto".
    std::unique_ptr<XmlNode> m_documento;
    QVector<QByteArray> m_maquinasLeidas;
    QString m_ultimoError;
};

#endif // XMLHANDLER_H
