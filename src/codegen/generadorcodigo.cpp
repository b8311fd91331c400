// Files are built from many small pieces; concatenate them without temporaries.
#define QT_USE_QSTRINGBUILDER

#include "generadorcodigo.h"

#include "savefile.h"
#include "usagerules.h"
#include "xmlhandler.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace {

const QString kPlantillaTransicion = QStringLiteral("://templates/plantillaEstado4.txt");
const QString kTextoAdvertencia = QStringLiteral("://templates/TextoDeAdvertencia2.txt");

// A template resource as its lines, each re-terminated with "\n" by the
// caller. Read as Latin-1 so that every byte comes back out unchanged.
QStringList leerPlantilla(const QString &recurso)
{
    QFile archivo(recurso);
    if (!archivo.open(QIODevice::ReadOnly)) {
        qWarning().noquote() << "Error al abrir template " << archivo.error();
        return QStringList();
    }
    QStringList lineas = QString::fromLatin1(archivo.readAll()).split(QLatin1Char('\n'));
    if (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
    for (QString &linea : lineas) {
        if (linea.endsWith(QLatin1Char('\r')))
            linea.chop(1);
    }
    return lineas;
}

// The transition template cut once into literal text and placeholders, so
// that each transition is one pass of appends. A placeholder is replaced by
// its value as a whole; a value is never searched for further placeholders.
struct PiezaPlantilla
{
    QString texto;
    int marcador = -1; // index into kMarcadores, or -1 for literal text
};

const QLatin1String kMarcadores[] = {QLatin1String("{EVENTO_ENTRADA}"), QLatin1String("{ACCION_SALIDA}"),
                                     QLatin1String("{ESTADO_SALIDA}"), QLatin1String("{INFO_DEPURAR}")};

QVector<PiezaPlantilla> cortarPlantilla(const QStringList &lineas)
{
    QString texto;
    for (const QString &linea : lineas)
        texto += linea + QLatin1Char('\n');
    QVector<PiezaPlantilla> piezas;
    int desde = 0;
    for (;;) {
        int siguiente = texto.size();
        int marcador = -1;
        for (int m = 0; m < 4; ++m) {
            const int pos = texto.indexOf(kMarcadores[m], desde);
            if (pos >= 0 && pos < siguiente) {
                siguiente = pos;
                marcador = m;
            }
        }
        piezas.append({texto.mid(desde, siguiente - desde), -1});
        if (marcador < 0)
            return piezas;
        piezas.append({QString(), marcador});
        desde = siguiente + kMarcadores[marcador].size();
    }
}

const QVector<PiezaPlantilla> &plantillaTransicion()
{
    static const QVector<PiezaPlantilla> piezas = cortarPlantilla(leerPlantilla(kPlantillaTransicion));
    return piezas;
}

QString banner(const QString &titulo, const char *despues)
{
    static const QString apertura = QLatin1Char('/') + QString(129, QLatin1Char('*')) + QLatin1Char('\n');
    static const QString cierre = QString(130, QLatin1Char('*')) + QLatin1Char('/');
    return apertura + titulo + QLatin1Char('\n') + cierre + QLatin1String(despues);
}

// Text before the first "(" of an action entry: the function it calls.
QString nombreAccion(const QString &accion)
{
    const int parentesis = accion.indexOf(QLatin1Char('('));
    return parentesis < 0 ? accion : accion.left(parentesis);
}

bool esAsignacion(const QString &entrada)
{
    return entrada.contains(QLatin1Char('='));
}

bool esCaracterIdentificador(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_';
}

bool esInicioIdentificador(QChar c)
{
    return esCaracterIdentificador(c) && !c.isDigit();
}

// Letters outside ASCII are scanned as part of a name so that a name such
// as "año" stays whole (and is reported as no C identifier).
bool esLetraDeNombre(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Every name in a part without comparison is an event: it becomes a call,
// unless the text already calls it. Numbers are copied as they are.
void llamarEventos(const QString &parte, QString &resultado)
{
    int i = 0;
    while (i < parte.size()) {
        const QChar c = parte.at(i);
        if (!esLetraDeNombre(c)) {
            resultado += c;
            ++i;
            continue;
        }
        const int inicio = i;
        while (i < parte.size() && esLetraDeNombre(parte.at(i)))
            ++i;
        resultado += parte.midRef(inicio, i - inicio);
        if (c.isDigit())
            continue;
        int siguiente = i;
        while (siguiente < parte.size() && parte.at(siguiente) == QLatin1Char(' '))
            ++siguiente;
        if (siguiente >= parte.size() || parte.at(siguiente) != QLatin1Char('('))
            resultado += QLatin1String("( )");
    }
}

// Start of the next "&&" or "||" from desde, or the text's length.
int siguienteConector(const QString &texto, int desde)
{
    for (int i = desde; i + 1 < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if ((c == QLatin1Char('&') || c == QLatin1Char('|')) && texto.at(i + 1) == c)
            return i;
    }
    return texto.size();
}

bool esIdentificadorC(const QString &nombre)
{
    if (nombre.isEmpty() || !esInicioIdentificador(nombre.at(0)))
        return false;
    for (const QChar c : nombre) {
        if (!esCaracterIdentificador(c))
            return false;
    }
    return true;
}

bool esPalabraReservadaC(const QString &nombre)
{
    static const QSet<QString> reservadas = {
        QStringLiteral("auto"),      QStringLiteral("break"),    QStringLiteral("case"),
        QStringLiteral("char"),      QStringLiteral("const"),    QStringLiteral("continue"),
        QStringLiteral("default"),   QStringLiteral("do"),       QStringLiteral("double"),
        QStringLiteral("else"),      QStringLiteral("enum"),     QStringLiteral("extern"),
        QStringLiteral("float"),     QStringLiteral("for"),      QStringLiteral("goto"),
        QStringLiteral("if"),        QStringLiteral("inline"),   QStringLiteral("int"),
        QStringLiteral("long"),      QStringLiteral("register"), QStringLiteral("restrict"),
        QStringLiteral("return"),    QStringLiteral("short"),    QStringLiteral("signed"),
        QStringLiteral("sizeof"),    QStringLiteral("static"),   QStringLiteral("struct"),
        QStringLiteral("switch"),    QStringLiteral("typedef"),  QStringLiteral("union"),
        QStringLiteral("unsigned"),  QStringLiteral("void"),     QStringLiteral("volatile"),
        QStringLiteral("while"),     QStringLiteral("_Bool"),    QStringLiteral("_Complex"),
        QStringLiteral("_Imaginary")};
    return reservadas.contains(nombre);
}

// Why a name cannot stand where the generated C puts it (as comoC); empty
// when it can. elemento names it for the user: "El evento «x»".
QString problemaDeNombre(const QString &elemento, const QString &comoC)
{
    if (!esIdentificadorC(comoC)) {
        return elemento +
               QStringLiteral(" no es un identificador C válido (solo letras sin acento, dígitos y _, "
                              "sin empezar por un dígito).");
    }
    if (esPalabraReservadaC(comoC))
        return elemento + QStringLiteral(" es una palabra reservada de C.");
    return QString();
}

// Text pasted into a "/** ... */" block: a "*/" would end the comment and
// let the rest through as code, a "/*" draws a warning, and a line break
// would leave the rest of the line outside the block's "*" margin.
QString textoDeComentario(const QString &texto)
{
    QString limpio = texto;
    for (QChar &c : limpio) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char(' ');
    }
    limpio.replace(QLatin1String("*/"), QLatin1String("* /"));
    limpio.replace(QLatin1String("/*"), QLatin1String("/ *"));
    return limpio;
}

// "!v_x >= 3" means "not (v_x >= 3)", which C would read as "(!v_x) >= 3":
// the negated comparison is copied inside parentheses of its own.
void copiarComparacion(const QString &parte, QString &resultado)
{
    static const QRegularExpression negada(
        QStringLiteral("^([\\s(!]*?)!(\\w+\\s*(?:==|!=|>=|<=|>|<)\\s*[^\\s)]+)(\\)*\\s*)$"));
    const QRegularExpressionMatch m = negada.match(parte);
    if (!m.hasMatch()) {
        resultado += parte;
        return;
    }
    resultado +=
        m.capturedRef(1) + QStringLiteral("!( ") + m.capturedRef(2) + QStringLiteral(" )") + m.capturedRef(3);
}

// The characters a trigger or an action may hold in the generated C: names,
// numbers, blanks, the operators the editor writes and the value characters
// C accepts there.
bool esCaracterDeCodigo(QChar c)
{
    static const QString operadores = QStringLiteral("!()&|=<>+-*/%^.,");
    return esCaracterIdentificador(c) || c == QLatin1Char(' ') || c == QLatin1Char('\t') ||
           operadores.contains(c);
}

// Shown in a reason: blanks for line breaks and at most 60 characters.
QString cita(const QString &texto)
{
    const QString limpio = textoDeComentario(texto).simplified();
    return limpio.size() > 60 ? limpio.left(57) + QStringLiteral("...") : limpio;
}

// An action entry that is neither an assignment nor a call without arguments.
bool esLlamadaSinArgumentos(const QString &entrada)
{
    static const QRegularExpression llamada(QStringLiteral("^\\s*[A-Za-z_]\\w*\\s*(\\(\\s*\\))?\\s*$"));
    return llamada.match(entrada).hasMatch();
}

// The statements of an action list, one per line after sangria: calls as
// "name( );", assignments as written.
QString sentencias(const QString &acciones, const QString &sangria)
{
    QString texto;
    const QStringList entradas = acciones.split(QLatin1Char(','));
    for (const QString &entrada : entradas) {
        if (entrada.trimmed().isEmpty())
            continue;
        texto += sangria + (esAsignacion(entrada) ? entrada : nombreAccion(entrada) + QStringLiteral("( )")) +
                 QStringLiteral(";\n");
    }
    return texto;
}

// The block that runs a machine's initial actions on its first call, before
// its first step; empty when the reset transition has none.
QString bloqueInicial(const QString &acciones, const QString &sangria)
{
    const QString cuerpo = sentencias(acciones, sangria + QLatin1Char('\t'));
    if (cuerpo.isEmpty())
        return QString();
    return sangria + QStringLiteral("if( !iniciada )\n") + sangria + QStringLiteral("{\n") + sangria +
           QStringLiteral("\tiniciada = 1;\n") + cuerpo + sangria + QStringLiteral("}\n");
}

// Why a trigger would give wrong C; cual names its transition.
QStringList problemasDeDisparador(const QString &cual, const QString &disparador)
{
    const QString problema = GeneradorCodigo::problemaDeTextoC(disparador);
    if (!problema.isEmpty())
        return {cual + QStringLiteral(": el disparador «%1» %2.").arg(cita(disparador), problema)};
    if (disparador.contains(QLatin1Char(','))) {
        return {cual + QStringLiteral(": el disparador «%1» compara con un valor que lleva una coma; C no lo "
                                      "lee como un valor.")
                           .arg(cita(disparador))};
    }
    return {};
}

// Why an action list would give wrong C; cual names its transition.
QStringList problemasDeAcciones(const QString &cual, const QString &acciones)
{
    if (acciones.isEmpty())
        return {};
    const QString problema = GeneradorCodigo::problemaDeTextoC(acciones);
    if (!problema.isEmpty())
        return {cual + QStringLiteral(": las acciones «%1» %2.").arg(cita(acciones), problema)};
    QStringList problemas;
    const QStringList entradas = acciones.split(QLatin1Char(','));
    for (int i = 0; i < entradas.size(); ++i) {
        const QString &entrada = entradas.at(i);
        if (esAsignacion(entrada) || esLlamadaSinArgumentos(entrada))
            continue;
        // The list is stored joined with ",": a value holding one reads back
        // as an assignment followed by a stray entry.
        if (i > 0 && esAsignacion(entradas.at(i - 1))) {
            problemas.append(cual + QStringLiteral(": el valor de la asignación «%1,%2» lleva una coma; un "
                                                   "valor no puede llevarla.")
                                        .arg(cita(entradas.at(i - 1)), cita(entrada)));
        } else if (entrada.trimmed().isEmpty()) {
            problemas.append(cual + QStringLiteral(": la lista de acciones tiene una entrada vacía."));
        } else {
            problemas.append(cual + QStringLiteral(": «%1» no es una llamada a una acción sin argumentos ni "
                                                   "una asignación.")
                                        .arg(cita(entrada)));
        }
    }
    return problemas;
}

} // namespace

QString GeneradorCodigo::problemaDeTextoC(const QString &texto)
{
    if (texto.contains(QLatin1String("/*")) || texto.contains(QLatin1String("*/")) ||
        texto.contains(QLatin1String("//")))
        return QStringLiteral("tiene marcas de comentario de C (/*, */ o //)");
    for (const QChar c : texto) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            return QStringLiteral("tiene saltos de línea");
    }
    int abiertos = 0;
    for (const QChar c : texto) {
        abiertos += c == QLatin1Char('(') ? 1 : c == QLatin1Char(')') ? -1 : 0;
        if (abiertos < 0)
            break;
    }
    if (abiertos != 0)
        return QStringLiteral("tiene paréntesis sin pareja");
    for (const QChar c : texto) {
        if (!esCaracterDeCodigo(c)) {
            const QString muestra = c.unicode() < 0x20 || c.unicode() == 0x7f
                                        ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                                        : QString(c);
            return QStringLiteral("tiene el carácter «%1», que no puede ir ahí en el código C").arg(muestra);
        }
    }
    return QString();
}

GeneradorCodigo::GeneradorCodigo(const XmlHandler &datos)
{
    leer(datos);
}

void GeneradorCodigo::leer(const XmlHandler &datos)
{
    m_nombre = datos.getContenidoGeneral(QStringLiteral("nombre"));
    m_carpeta = datos.getContenidoGeneral(QStringLiteral("carpeta"));
    m_autores = datos.getContenidoGeneral(QStringLiteral("autores"));
    m_fecha = datos.getContenidoGeneral(QStringLiteral("modificacion"));

    const int cantidadMaquinas = datos.cantidadMaquinas();
    m_maquinas.reserve(qMax(cantidadMaquinas, 0));
    for (int k = 0; k < cantidadMaquinas; ++k) {
        const QString maquinaId = QStringLiteral("maquina") + QString::number(k);
        Maquina maquina;
        maquina.nombre = datos.getContenidoMaquina(maquinaId, QStringLiteral("nombre"));
        maquina.inicial = datos.getEstadoInicial(maquinaId);
        maquina.accionesIniciales = datos.getContenidoInicial(QStringLiteral("idAcciones"), maquinaId);
        if (maquina.accionesIniciales == QLatin1String("-1"))
            maquina.accionesIniciales.clear();
        const int cantidadEstados = datos.cantidadEstados(maquinaId);
        maquina.estados.resize(qMax(cantidadEstados, 0));
        for (int i = 0; i < cantidadEstados; ++i) {
            maquina.estados[i].nombre =
                datos.getContenidoEstado(QStringLiteral("estado") + QString::number(i),
                                         QStringLiteral("diagrama"), QStringLiteral("nombre"), maquinaId);
        }
        for (int i = 0; i < cantidadEstados; ++i) {
            const QString estadoId = QStringLiteral("estado") + QString::number(i);
            const int cantidadTransiciones = datos.cantidadTransiciones(estadoId, maquinaId);
            QVector<Transicion> &transiciones = maquina.estados[i].transiciones;
            transiciones.resize(qMax(cantidadTransiciones, 0));
            for (int j = 0; j < cantidadTransiciones; ++j) {
                const QString trId = QStringLiteral("tr") + QString::number(j);
                Transicion &tr = transiciones[j];
                tr.disparador =
                    datos.getContenidoTransicion(estadoId, trId, QStringLiteral("idEvento"), maquinaId);
                tr.acciones =
                    datos.getContenidoTransicion(estadoId, trId, QStringLiteral("idAcciones"), maquinaId);
                const QString destinoId =
                    datos.getContenidoTransicion(estadoId, trId, QStringLiteral("idProxEstado"), maquinaId);
                bool numero = false;
                const int destino = destinoId.midRef(6).toInt(&numero);
                if (numero && destino >= 0 && destino < cantidadEstados &&
                    destinoId == QStringLiteral("estado") + QString::number(destino)) {
                    tr.destino = maquina.estados.at(destino).nombre;
                } else {
                    tr.destino = datos.getContenidoEstado(destinoId, QStringLiteral("diagrama"),
                                                          QStringLiteral("nombre"), maquinaId);
                    tr.destinoExiste = tr.destino != QLatin1String("-1");
                }
            }
        }
        m_maquinas.append(maquina);
    }

    const int eventos = datos.cantidadEventos();
    for (int i = 0; i < eventos; ++i)
        m_eventos.append(datos.getContenidoEvento(QStringLiteral("ev") + QString::number(i)));
    const int acciones = datos.cantidadAcciones();
    for (int i = 0; i < acciones; ++i)
        m_acciones.append(datos.getContenidoAccion(QStringLiteral("acc") + QString::number(i)));
    const int variables = datos.cantidadVariables();
    for (int i = 0; i < variables; ++i)
        m_variables.append(datos.getContenidoVariable(QStringLiteral("var") + QString::number(i)));
    const int constantes = datos.cantidadConstantes();
    for (int i = 0; i < constantes; ++i)
        m_constantes.append(datos.getContenidoConstante(QStringLiteral("cons") + QString::number(i)));
}

QString GeneradorCodigo::carpetaSalida(const QString &carpetaProyecto, const QString &nombreProyecto,
                                       EstiloCodigo estilo)
{
    return carpetaProyecto + QStringLiteral("/resultados_") + nombreProyecto +
           (estilo == EstiloCodigo::Switch ? QStringLiteral("/switch") : QStringLiteral("/ptrFuncion"));
}

QString GeneradorCodigo::carpetaSalida(EstiloCodigo estilo) const
{
    return carpetaSalida(m_carpeta, m_nombre, estilo);
}

QString GeneradorCodigo::maquinaSinEstadoInicial() const
{
    for (const Maquina &maquina : m_maquinas) {
        if (maquina.inicial == QLatin1String("-1") || maquina.inicial.isEmpty())
            return maquina.nombre;
    }
    return QString();
}

QStringList GeneradorCodigo::problemas(EstiloCodigo estilo) const
{
    QStringList problemas = problemasDeMaquinas() + problemasDeCatalogos() + problemasDeChoques(estilo);
    if (estilo == EstiloCodigo::PunteroAFuncion && m_maquinas.size() > 1) {
        QStringList otras;
        for (int k = 1; k < m_maquinas.size(); ++k)
            otras.append(m_maquinas.at(k).nombre);
        problemas.append(
            QStringLiteral("El estilo puntero a función ejecuta solo la primera máquina (%1); no "
                           "se ejecutará: %2.")
                .arg(m_maquinas.first().nombre, otras.join(QStringLiteral(", "))));
    }
    if (estilo == EstiloCodigo::PunteroAFuncion &&
        (m_maquinas.isEmpty() || m_maquinas.first().estados.isEmpty()))
        problemas.append(
            QStringLiteral("El estilo puntero a función necesita una primera máquina con estados."));
    return problemas;
}

QStringList GeneradorCodigo::problemasDeMaquinas() const
{
    QStringList problemas;
    const auto revisar = [&problemas](const QString &elemento, const QString &comoC) {
        const QString problema = problemaDeNombre(elemento, comoC);
        if (!problema.isEmpty())
            problemas.append(problema);
    };
    QHash<QString, QString> maquinaDeEstado;
    for (const Maquina &maquina : m_maquinas) {
        revisar(QStringLiteral("La máquina «%1»").arg(maquina.nombre),
                QStringLiteral("maquina_") + maquina.nombre);
        if (maquina.inicial.isEmpty()) {
            problemas.append(
                QStringLiteral("El estado inicial de la máquina «%1» no es ninguno de sus estados.")
                    .arg(maquina.nombre));
        }
        problemas += problemasDeAcciones(
            QStringLiteral("La transición inicial de la máquina «%1»").arg(maquina.nombre),
            maquina.accionesIniciales);
        for (const Estado &estado : maquina.estados) {
            problemas += problemasDeTransiciones(maquina, estado);
            const QString nombreC = estado.nombre.toUpper();
            revisar(QStringLiteral("El estado «%1» de la máquina «%2»").arg(estado.nombre, maquina.nombre),
                    nombreC);
            const auto previo = maquinaDeEstado.constFind(nombreC);
            if (previo == maquinaDeEstado.constEnd()) {
                maquinaDeEstado.insert(nombreC, maquina.nombre);
                continue;
            }
            problemas.append(
                QStringLiteral("Las máquinas «%1» y «%2» tienen un estado llamado %3: el código define "
                               "ese estado dos veces. Los nombres de estado deben ser distintos en "
                               "todo el proyecto.")
                    .arg(previo.value(), maquina.nombre, nombreC));
        }
    }
    return problemas;
}

QStringList GeneradorCodigo::problemasDeTransiciones(const Maquina &maquina, const Estado &estado) const
{
    QStringList problemas;
    for (int j = 0; j < estado.transiciones.size(); ++j) {
        const Transicion &tr = estado.transiciones.at(j);
        const QString cual = QStringLiteral("La transición %1 del estado «%2» de la máquina «%3»")
                                 .arg(QString::number(j + 1), estado.nombre, maquina.nombre);
        if (tr.disparador.trimmed().isEmpty())
            problemas.append(cual + QStringLiteral(" no tiene disparador."));
        if (!tr.destinoExiste)
            problemas.append(cual + QStringLiteral(" lleva a un estado que no existe."));
        problemas += problemasDeDisparador(cual, tr.disparador);
        problemas += problemasDeAcciones(cual, tr.acciones);
    }
    return problemas;
}

QStringList GeneradorCodigo::problemasDeCatalogos() const
{
    QStringList problemas;
    const auto revisar = [&problemas](const QString &elemento, const QString &comoC) {
        const QString problema = problemaDeNombre(elemento, comoC);
        if (!problema.isEmpty())
            problemas.append(problema);
    };
    // Entries the files leave out (events holding "(", empty actions or
    // actions holding ",") cannot break them.
    for (const QString &evento : m_eventos) {
        if (!evento.contains(QLatin1Char('(')))
            revisar(QStringLiteral("El evento «%1»").arg(evento), evento);
    }
    for (const QString &accion : m_acciones) {
        if (!accion.isEmpty() && !accion.contains(QLatin1Char(',')))
            revisar(QStringLiteral("La acción «%1»").arg(accion), nombreAccion(accion));
    }
    for (const QString &variable : m_variables)
        revisar(QStringLiteral("La variable «%1»").arg(variable), variable);
    // The first two constants are TRUE and FALSE, which are not taken from the list.
    for (int i = 2; i < m_constantes.size(); ++i)
        revisar(QStringLiteral("La constante «%1»").arg(m_constantes.at(i)), m_constantes.at(i));
    return problemas;
}

QStringList GeneradorCodigo::problemasDeChoques(EstiloCodigo estilo) const
{
    QStringList problemas;
    QHash<QString, QString> duenos;
    QSet<QString> deEstados;
    const auto registrar = [&](const QString &nombreC, const QString &quien, bool esEstado) {
        const auto previo = duenos.constFind(nombreC);
        if (previo == duenos.constEnd()) {
            duenos.insert(nombreC, quien);
            if (esEstado)
                deEstados.insert(nombreC);
            return;
        }
        // Two states of the same name are told apart by problemasDeMaquinas().
        if (esEstado && deEstados.contains(nombreC))
            return;
        problemas.append(QStringLiteral("%1 usa el nombre %2, que en el código generado ya es %3.")
                             .arg(quien.left(1).toUpper() + quien.mid(1), nombreC, previo.value()));
    };
    const bool conSwitch = estilo == EstiloCodigo::Switch;
    registrar(QStringLiteral("TRUE"), QStringLiteral("la constante TRUE"), false);
    registrar(QStringLiteral("FALSE"), QStringLiteral("la constante FALSE"), false);
    registrar(QStringLiteral("main"), QStringLiteral("la función main"), false);
    registrar(QStringLiteral("estado"), QStringLiteral("la variable que guarda el estado"), false);
    registrar(QStringLiteral("Log"), QStringLiteral("la función Log de depuración"), false);
    const bool conArranque = std::any_of(
        m_maquinas.cbegin(), conSwitch ? m_maquinas.cend() : m_maquinas.cbegin() + qMin(m_maquinas.size(), 1),
        [](const Maquina &m) { return !bloqueInicial(m.accionesIniciales, QString()).isEmpty(); });
    if (conArranque)
        registrar(QStringLiteral("iniciada"), QStringLiteral("la marca de las acciones iniciales"), false);
    if (conSwitch) {
        registrar(QStringLiteral("inicializar"), QStringLiteral("la función inicializar"), false);
    } else {
        registrar(QStringLiteral("Inicializacion"), QStringLiteral("la función Inicializacion"), false);
        registrar(QStringLiteral("maquina_estado"), QStringLiteral("la función maquina_estado"), false);
        registrar(QStringLiteral("arrayFunciones"), QStringLiteral("la tabla de funciones"), false);
    }
    for (const Maquina &maquina : m_maquinas)
        registrar(QStringLiteral("maquina_") + maquina.nombre,
                  QStringLiteral("la máquina «%1»").arg(maquina.nombre), false);
    for (const Maquina &maquina : m_maquinas) {
        for (const Estado &estado : maquina.estados) {
            registrar(estado.nombre.toUpper(),
                      QStringLiteral("el estado «%1» de la máquina «%2»").arg(estado.nombre, maquina.nombre),
                      true);
        }
    }
    for (int i = 2; i < m_constantes.size(); ++i)
        registrar(m_constantes.at(i), QStringLiteral("la constante «%1»").arg(m_constantes.at(i)), false);
    for (const QString &evento : m_eventos) {
        if (!evento.contains(QLatin1Char('(')))
            registrar(evento, QStringLiteral("el evento «%1»").arg(evento), false);
    }
    for (const QString &accion : m_acciones) {
        if (!accion.isEmpty() && !accion.contains(QLatin1Char(',')))
            registrar(nombreAccion(accion), QStringLiteral("la acción «%1»").arg(accion), false);
    }
    for (const QString &variable : m_variables)
        registrar(variable, QStringLiteral("la variable «%1»").arg(variable), false);
    return problemas;
}

QVector<QPair<QString, QString>> GeneradorCodigo::archivos(EstiloCodigo estilo) const
{
    const QStringList estados = listaEstados();
    if (estilo == EstiloCodigo::Switch) {
        return {{QStringLiteral("main.c"), textoMain()},
                {QStringLiteral("AP_MdeE.h"), textoHeader(estados, estilo)},
                {QStringLiteral("AP_FuncionesMdeE.h"), textoHeaderFunciones(m_constantes)},
                {QStringLiteral("AP_MdeE.c"), textoFunciones(textosMaquinas())},
                {QStringLiteral("AP_FuncionesMdeE.c"), textoFuncionesEventosAcciones(estilo)}};
    }
    return {{QStringLiteral("main.c"), textoMainPtrFuncion()},
            {QStringLiteral("AP_FuncionesMdeE.c"), textoFuncionesEventosAcciones(estilo)},
            {QStringLiteral("AP_FuncionesMdeE.h"), textoHeaderFunciones(m_constantes)},
            {QStringLiteral("AP_MdeE.h"), textoHeader(estados, estilo)},
            {QStringLiteral("AP_MdeE.c"), textoFuncionesPtrFuncionMDE(textoFuncionesEstados())}};
}

bool GeneradorCodigo::generar(EstiloCodigo estilo, const QString &carpeta, QString *archivoFallido) const
{
    QDir().mkpath(carpeta);
    const auto textos = archivos(estilo);
    for (const auto &archivo : textos) {
        const QString ruta = carpeta + QLatin1Char('/') + archivo.first;
        if (!guardar(ruta, archivo.second)) {
            if (archivoFallido)
                *archivoFallido = ruta;
            return false;
        }
    }
    return true;
}

bool GeneradorCodigo::guardar(const QString &ruta, const QString &texto)
{
    return guardarArchivoSeguro(ruta, texto.toLatin1());
}

// --- Shared fragments ---

QString GeneradorCodigo::AgregarEncabezadoArchivo(const QString &archivo, const QString &resumen,
                                                  const QString &autor, const QString &fecha)
{
    return QStringLiteral("/**\n*\t\\file ") + textoDeComentario(archivo) + QStringLiteral("\n*\t\\brief ") +
           textoDeComentario(resumen) +
           QStringLiteral("\n*\t\\details Descripcion detallada del archivo\n*\t\\author ") +
           textoDeComentario(autor) + QStringLiteral("\n*\t\\date ") + textoDeComentario(fecha) +
           QStringLiteral("\n*/");
}

QString GeneradorCodigo::AgregarEncabezadoFuncion(const QString &firma, const QString &resumen,
                                                  const QString &detalles, const QString &autor,
                                                  const QString &fecha)
{
    return QStringLiteral("/**\n*\t\\fn ") + textoDeComentario(firma) + QStringLiteral("\n*\t\\brief ") +
           textoDeComentario(resumen) + QStringLiteral("\n*\t\\details ") + textoDeComentario(detalles) +
           QStringLiteral("\n*\t\\author ") + textoDeComentario(autor) + QStringLiteral("\n*\t\\date ") +
           textoDeComentario(fecha) + QStringLiteral("\n*/");
}

QString GeneradorCodigo::encabezadoArchivo(const QString &archivo, const QString &resumen) const
{
    return AgregarEncabezadoArchivo(archivo, resumen, m_autores, m_fecha);
}

QString GeneradorCodigo::encabezadoFuncion(const QString &firma, const QString &resumen,
                                           const QString &detalles) const
{
    return AgregarEncabezadoFuncion(firma, resumen, detalles, m_autores, m_fecha);
}

QString GeneradorCodigo::agregarTextoDeAdvertencia()
{
    static const QString aviso = [] {
        QString texto;
        const QStringList lineas = leerPlantilla(kTextoAdvertencia);
        for (const QString &linea : lineas)
            texto += linea + QLatin1Char('\n');
        return texto;
    }();
    return aviso;
}

QStringList GeneradorCodigo::ObtenerVariables() const
{
    return m_variables;
}

QString GeneradorCodigo::DeclararVariables(const QStringList &nombres)
{
    QString texto;
    for (const QString &nombre : nombres)
        texto = QLatin1Char('\n') + texto + QStringLiteral("int ") + nombre + QStringLiteral(" = 0 ;");
    return texto;
}

QString GeneradorCodigo::DeclararVariablesExternas(const QStringList &nombres)
{
    QString texto;
    for (const QString &nombre : nombres)
        texto = QLatin1Char('\n') + texto + QStringLiteral("extern int ") + nombre + QLatin1Char(';');
    return texto;
}

int GeneradorCodigo::ObtenerCantParentesis(const QString &texto)
{
    return texto.count(QLatin1Char('('));
}

QString GeneradorCodigo::traducirDisparador(const QString &disparador)
{
    QString resultado;
    resultado.reserve(disparador.size() + 32);
    int inicio = 0;
    for (;;) {
        const int conector = siguienteConector(disparador, inicio);
        const QString parte = disparador.mid(inicio, conector - inicio);
        if (UsageRules::isComparisonPart(parte))
            copiarComparacion(parte, resultado);
        else
            llamarEventos(parte, resultado);
        if (conector >= disparador.size())
            return resultado;
        resultado += disparador.midRef(conector, 2);
        inicio = conector + 2;
    }
}

QString GeneradorCodigo::agregarTransicion(const QString &disparador, const QString &acciones,
                                           const QString &estadoDestino, int maquina, int estado,
                                           int transicion)
{
    QString textoAcciones;
    if (!acciones.contains(QLatin1Char(','))) {
        if (!acciones.isEmpty())
            textoAcciones = acciones + QLatin1Char(';');
    } else {
        const QStringList entradas = acciones.split(QLatin1Char(','));
        for (int i = 0; i < entradas.size(); ++i) {
            const QString &entrada = entradas.at(i);
            const bool ultima = i == entradas.size() - 1;
            if (esAsignacion(entrada))
                textoAcciones += entrada + (ultima ? QStringLiteral(";\n") : QStringLiteral(";\n\t\t\t\t\t"));
            else
                textoAcciones += nombreAccion(entrada) + QStringLiteral("( );\n\t\t\t\t\t");
        }
    }
    const QString info = QString::number(maquina) + QStringLiteral(" , ") + QString::number(estado) +
                         QStringLiteral(" , ") + QString::number(transicion);
    const QString condicion = traducirDisparador(disparador);

    const QString *valores[] = {&condicion, &textoAcciones, &estadoDestino, &info};
    QString bloque;
    bloque.reserve(256 + condicion.size() + textoAcciones.size());
    for (const PiezaPlantilla &pieza : plantillaTransicion())
        bloque += pieza.marcador < 0 ? pieza.texto : *valores[pieza.marcador];
    return bloque;
}

QString GeneradorCodigo::agregarFuncionPtrFuncion(const QString &disparador, const QString &acciones,
                                                  const QString &estadoDestino)
{
    QString bloque = QStringLiteral("\tif( ") + traducirDisparador(disparador) + QStringLiteral(" )\n") +
                     QStringLiteral("\t{\n\t\t estado = ") + estadoDestino + QStringLiteral(";\n");
    if (acciones.isEmpty()) {
        bloque += QLatin1Char('\n');
    } else if (!acciones.contains(QLatin1Char(','))) {
        bloque += QStringLiteral("\t\t ") + acciones + QStringLiteral("; \n");
    } else {
        const QStringList entradas = acciones.split(QLatin1Char(','));
        for (int i = 0; i < entradas.size(); ++i) {
            const QString &entrada = entradas.at(i);
            const QString sentencia =
                esAsignacion(entrada) ? entrada : nombreAccion(entrada) + QStringLiteral("( )");
            const bool ultima = i == entradas.size() - 1;
            bloque += QStringLiteral("\t\t ") + sentencia +
                      (ultima ? QStringLiteral("; \n") : QStringLiteral(";\n\t\n"));
        }
    }
    // A machine takes at most one transition per step: the first one whose
    // trigger holds, in the order the state lists them.
    return bloque + QStringLiteral("\t\t return;\n\t}\n");
}

// --- Files shared by both styles ---

QString GeneradorCodigo::textoHeader(const QStringList &estados, EstiloCodigo estilo) const
{
    QString texto = agregarTextoDeAdvertencia() + QLatin1Char('\n');
    texto += encabezadoArchivo(QStringLiteral("AP_MdeE.h"), QStringLiteral("Resumen del archivo")) +
             QLatin1Char('\n');
    texto += banner(QStringLiteral("*** MODULO"), "\n");
    texto += QStringLiteral("#ifndef INC_MDEE_H_\n#define INC_MDEE_H_\n\n");
    texto += banner(QStringLiteral("*** INCLUDES GLOBALES"), "\n\n");
    texto += banner(QStringLiteral("*** DEFINES GLOBALES"), "\n");
    texto += QStringLiteral("#define\tTRUE\t\t\t1\n#define\tFALSE\t\t\t0\n\n");
    texto += QStringLiteral("//!< Definicion de Estados\n");
    for (int n = 0; n < estados.size(); ++n)
        texto += QStringLiteral("#define\t") + estados.at(n) + QStringLiteral("\t\t") + QString::number(n) +
                 QLatin1Char('\n');
    texto += QLatin1Char('\n') + banner(QStringLiteral("*** MACROS GLOBALES"), "\n\n");
    texto += banner(QStringLiteral("*** TIPO DE DATOS GLOBALES"), "\n\n");
    texto += banner(QStringLiteral("*** VARIABLES GLOBALES"), "\n\n");
    texto += banner(QStringLiteral("*** PROTOTIPOS DE FUNCIONES GLOBALES"), "\n");
    texto += QStringLiteral("//!< Declaracion de la Maquina de Estados\n");
    for (const Maquina &maquina : m_maquinas)
        texto += QStringLiteral("void maquina_") + maquina.nombre + QStringLiteral("(void);\n\n");
    // The pointer style's only entry point is the dispatcher; main.c calls it.
    if (estilo == EstiloCodigo::PunteroAFuncion)
        texto += QStringLiteral("void maquina_estado( void );\n\n");
    texto += QStringLiteral("\n#endif /* INC_MDEE_H_ */\n");
    return texto;
}

bool GeneradorCodigo::escribirHeader(const QString &ruta, const QStringList &estados,
                                     EstiloCodigo estilo) const
{
    return guardar(ruta + QStringLiteral(".h"), textoHeader(estados, estilo));
}

QString GeneradorCodigo::textoHeaderFunciones(const QStringList &constantes) const
{
    QString texto = agregarTextoDeAdvertencia() + QLatin1Char('\n');
    texto += encabezadoArchivo(QStringLiteral("AP_FuncionesMdeE.h"), QStringLiteral("Resumen del archivo")) +
             QLatin1Char('\n');
    texto += banner(QStringLiteral("*** MODULO"), "\n");
    texto += QStringLiteral("#ifndef INC_AP_FUNCIONESMDEE_H_\n#define INC_AP_FUNCIONESMDEE_H_\n\n");
    texto += banner(QStringLiteral("*** INCLUDES GLOBALES"), "\n\n");
    texto += banner(QStringLiteral("*** DEFINES GLOBALES"), "\n");
    // The first two constants are TRUE and FALSE, which AP_MdeE.h defines. The
    // others keep the very name the triggers use.
    for (int i = 2; i < constantes.size(); ++i)
        texto += QStringLiteral("#define \t") + constantes.at(i) + QStringLiteral("\t0\n");
    texto += QLatin1Char('\n') + banner(QStringLiteral("*** MACROS GLOBALES"), "\n\n");
    texto += banner(QStringLiteral("*** TIPO DE DATOS GLOBALES"), "\n\n");
    texto += banner(QStringLiteral("*** VARIABLES GLOBALES"), "\n\n");
    texto += banner(QStringLiteral("*** PROTOTIPOS DE FUNCIONES GLOBALES"), "\n");
    texto += QStringLiteral("\n//!< Prototipos de los Eventos\n");
    for (const QString &evento : m_eventos) {
        const QString prototipo = QStringLiteral("int ") + evento + QStringLiteral("( void );");
        if (ObtenerCantParentesis(prototipo) == 1)
            texto += prototipo + QLatin1Char('\n');
    }
    texto += QStringLiteral("\n//!< Prototipos de las Acciones\n");
    for (const QString &accion : m_acciones) {
        if (accion.isEmpty() || accion.contains(QLatin1Char(',')))
            continue;
        texto += QStringLiteral("void ") + nombreAccion(accion) + QStringLiteral("( void );\n");
    }
    texto += QStringLiteral("\n#endif /* INC_AP_FUNCIONESMDEE_H_ */\n");
    return texto;
}

bool GeneradorCodigo::escribirHeaderFunciones(const QString &ruta, const QStringList &constantes) const
{
    return guardar(ruta + QStringLiteral(".h"), textoHeaderFunciones(constantes));
}

QString GeneradorCodigo::textoFuncionesEventosAcciones(EstiloCodigo estilo) const
{
    const bool conSwitch = estilo == EstiloCodigo::Switch;
    QString texto = agregarTextoDeAdvertencia() + QLatin1Char('\n');
    if (conSwitch) {
        texto += encabezadoArchivo(QStringLiteral("AP_FuncionesMde.c"),
                                   QStringLiteral("Implementacion switch-case"));
    } else {
        texto += encabezadoArchivo(
            QStringLiteral("AP_FuncionesMdeE.c"),
            QStringLiteral("Funciones de Eventos y Acciones asociadas a la M de E con puntero a funcion"));
    }
    texto += QStringLiteral("\n\n");
    texto += banner(QStringLiteral(" *** INCLUDES"), "\n");
    texto += QStringLiteral("#include \"AP_FuncionesMdeE.h\" \n#include \"AP_Depuracion.h\" \n\n");
    texto += banner(QStringLiteral(" *** DEFINES PRIVADOS AL MODULO"), "\n\n");
    texto += banner(QStringLiteral(" *** MACROS PRIVADAS AL MODULO"), "\n");
    texto += QLatin1Char('\n') + banner(QStringLiteral(" *** TIPOS DE DATOS PRIVADOS AL MODULO"), "\n\n");
    texto += banner(QStringLiteral(" *** TABLAS PRIVADAS AL MODULO"), "\n\n");
    texto += banner(QStringLiteral(" *** VARIABLES GLOBALES PUBLICAS"), "\n");
    texto += banner(QStringLiteral(" *** VARIABLES GLOBALES PRIVADAS AL MODULO"), "\n\n");
    texto += banner(QStringLiteral(" *** PROTOTIPO DE FUNCIONES PRIVADAS AL MODULO"), "\n");
    texto += QLatin1Char('\n') + banner(QStringLiteral(" *** FUNCIONES PRIVADAS AL MODULO"), "\n");
    texto += QLatin1Char('\n') + banner(QStringLiteral(" *** FUNCIONES GLOBALES AL MODULO"), "\n\n");
    texto += QStringLiteral("//!< Funciones asociadas a los eventos\n\n");
    for (const QString &evento : m_eventos) {
        if (evento.contains(QLatin1Char('(')))
            continue;
        texto += encabezadoFuncion(QStringLiteral("int ") + evento + QStringLiteral("(void)"),
                                   QStringLiteral("Resumen"), QStringLiteral("Detalles")) +
                 QLatin1Char('\n');
        texto += QStringLiteral("int ") + evento + QStringLiteral("( void )\n");
        texto += QStringLiteral(
            "{\n\tint res = 0 ;\n\n\t//!< Codigo propio de la funcion\n\n\treturn res;\n}\n\n");
    }
    texto += QStringLiteral("//!< Funciones asociadas a las acciones\n\n");
    const QString parametros = conSwitch ? QStringLiteral("(void)") : QStringLiteral("( void )");
    for (const QString &accion : m_acciones) {
        if (accion.isEmpty() || accion.contains(QLatin1Char(',')))
            continue;
        const QString nombre = nombreAccion(accion);
        texto += encabezadoFuncion(QStringLiteral("void ") + nombre + parametros, QStringLiteral("Resumen"),
                                   QStringLiteral("Detalles")) +
                 QLatin1Char('\n');
        texto += QStringLiteral("void ") + nombre + QStringLiteral("( void )\n");
        texto += QStringLiteral("{\n\t//!< Codigo propio de la funcion\n\n\treturn ;\n}\n\n");
    }
    return texto;
}

bool GeneradorCodigo::escribirFuncionesMdeE(const QString &ruta) const
{
    return guardar(ruta + QStringLiteral(".c"), textoFuncionesEventosAcciones(EstiloCodigo::Switch));
}

bool GeneradorCodigo::escribirFuncionesPtrFuncion(const QString &ruta) const
{
    return guardar(ruta + QStringLiteral(".c"), textoFuncionesEventosAcciones(EstiloCodigo::PunteroAFuncion));
}

QStringList GeneradorCodigo::listaEstados() const
{
    QStringList estados;
    for (const Maquina &maquina : m_maquinas) {
        for (const Estado &estado : maquina.estados)
            estados.append(estado.nombre.toUpper());
    }
    return estados;
}

// --- Switch style ---

QString GeneradorCodigo::crearSwitch(const QString &variable)
{
    return QStringLiteral("\t\tswitch(") + variable + QStringLiteral(")\n\t\t{\n");
}

QString GeneradorCodigo::agregarCase(const QString &estado)
{
    return QStringLiteral("\t\t\tcase ") + estado + QStringLiteral(":\n\t\t\t\n");
}

QString GeneradorCodigo::cerrarCase()
{
    return QStringLiteral("\n\t\t\t\tbreak;\n\t\t\t\n");
}

QString GeneradorCodigo::cerrarSwitch()
{
    return QStringLiteral("\n\t\t}\n");
}

QString GeneradorCodigo::textoMaquinaSwitch(int k) const
{
    const Maquina &maquina = m_maquinas.at(k);
    const QString inicial = maquina.inicial.toUpper();
    QString texto;
    texto.reserve(256 + maquina.estados.size() * 2048);
    texto += QStringLiteral("void maquina_") + maquina.nombre + QStringLiteral("()\n{\n");
    texto += QStringLiteral("\t\tstatic int estado = ") + inicial + QStringLiteral(";\n");
    const QString arranque = bloqueInicial(maquina.accionesIniciales, QStringLiteral("\t\t"));
    if (!arranque.isEmpty())
        texto += QStringLiteral("\t\tstatic int iniciada = 0;\n\n") + arranque;
    texto += QLatin1Char('\n') + crearSwitch(QStringLiteral("estado"));
    for (int i = 0; i < maquina.estados.size(); ++i) {
        const Estado &estado = maquina.estados.at(i);
        texto += agregarCase(estado.nombre.toUpper());
        for (int j = 0; j < estado.transiciones.size(); ++j) {
            const Transicion &tr = estado.transiciones.at(j);
            texto += agregarTransicion(tr.disparador, tr.acciones, tr.destino.toUpper(), k, i, j);
        }
        texto += cerrarCase();
    }
    texto += QStringLiteral("\t\t\tdefault: estado = ") + inicial + QLatin1Char(';');
    texto += cerrarSwitch() + QStringLiteral("\n\n}");
    return texto;
}

QStringList GeneradorCodigo::textosMaquinas() const
{
    QStringList textos;
    for (int k = 0; k < m_maquinas.size(); ++k)
        textos.append(textoMaquinaSwitch(k));
    return textos;
}

QString GeneradorCodigo::textoMain() const
{
    QString texto =
        encabezadoArchivo(QStringLiteral("main.c"), QStringLiteral("Resumen del contenido del archivo")) +
        QLatin1Char('\n');
    texto += QStringLiteral("\n#include \"funciones.h\"\n");
    texto += DeclararVariablesExternas(m_variables) + QStringLiteral("\n\n");
    texto += QStringLiteral("\nvoid main(void)\n{\n");
    texto += QStringLiteral("\n//declaracion de variables\n//inicializacion de perifericos\n\n");
    texto += QStringLiteral("\tinicializar() ;\n\n");
    texto += QStringLiteral("\n\twhile(1)\n\t{\n\n");
    for (const Maquina &maquina : m_maquinas)
        texto += QStringLiteral("\t\tmaquina_") + maquina.nombre + QStringLiteral("();\n\n");
    texto += QStringLiteral("\n\t}\n}\n");
    return texto;
}

bool GeneradorCodigo::generarMain(const QString &carpeta, const QString &nombre) const
{
    return guardar(carpeta + nombre + QStringLiteral(".c"), textoMain());
}

QString GeneradorCodigo::textoFunciones(const QStringList &textosMaquinas) const
{
    int tamano = 8192;
    for (const QString &maquina : textosMaquinas)
        tamano += maquina.size() + 256;
    QString texto;
    texto.reserve(tamano);
    texto += agregarTextoDeAdvertencia() + QLatin1Char('\n');
    texto += encabezadoArchivo(QStringLiteral("AP_MdeE.c"), QStringLiteral("Implementacion switch-case")) +
             QStringLiteral("\n\n");
    texto += banner(QStringLiteral(" *** INCLUDES"), "\n");
    texto += QStringLiteral("#include \"AP_MdeE.h\" \n#include \"AP_FuncionesMdeE.h\" \n"
                            "#include \"AP_Depuracion.h\" \n\n");
    texto += banner(QStringLiteral(" *** DEFINES PRIVADOS AL MODULO"), "\n\n");
    texto += banner(QStringLiteral(" *** MACROS PRIVADAS AL MODULO"), "\n");
    texto += QLatin1Char('\n') + banner(QStringLiteral(" *** TIPOS DE DATOS PRIVADOS AL MODULO"), "\n\n");
    texto += banner(QStringLiteral(" *** TABLAS PRIVADAS AL MODULO"), "\n\n");
    texto += banner(QStringLiteral(" *** VARIABLES GLOBALES PUBLICAS"), "\n");
    // main.c declares the variables extern; they are defined here, where the
    // transitions use them.
    if (!m_variables.isEmpty())
        texto += DeclararVariables(m_variables) + QLatin1Char('\n');
    texto += banner(QStringLiteral(" *** VARIABLES GLOBALES PRIVADAS AL MODULO"), "\n\n");
    texto += banner(QStringLiteral(" *** PROTOTIPO DE FUNCIONES PRIVADAS AL MODULO"), "\n");
    texto += QLatin1Char('\n') + banner(QStringLiteral(" *** FUNCIONES PRIVADAS AL MODULO"), "\n\n");
    texto += banner(QStringLiteral(" *** FUNCIONES GLOBALES AL MODULO"), "\n");
    for (int k = 0; k < textosMaquinas.size() && k < m_maquinas.size(); ++k) {
        texto += encabezadoFuncion(QStringLiteral("void maquina_") + m_maquinas.at(k).nombre +
                                       QStringLiteral("()"),
                                   QStringLiteral("Implementacion switch-case"), QString()) +
                 QLatin1Char('\n');
        texto += textosMaquinas.at(k) + QStringLiteral("\n\n");
    }
    return texto;
}

bool GeneradorCodigo::escribirFunciones(const QString &ruta, const QStringList &textosMaquinas) const
{
    return guardar(ruta + QStringLiteral(".c"), textoFunciones(textosMaquinas));
}

// --- Function-pointer style ---

QString GeneradorCodigo::agregarFuncionPtr(const QString &estado)
{
    return QStringLiteral("static void funcion_") + estado + QStringLiteral(" ( void )\n{\n");
}

QString GeneradorCodigo::cerrarFuncionPtr()
{
    return QStringLiteral("}\n\n");
}

QString GeneradorCodigo::textoFuncionesEstados() const
{
    int estados = 0;
    for (const Maquina &maquina : m_maquinas)
        estados += maquina.estados.size();
    QString texto;
    texto.reserve(estados * 2048);
    for (const Maquina &maquina : m_maquinas) {
        for (const Estado &estado : maquina.estados) {
            texto += encabezadoFuncion(QStringLiteral("static void funcion_") + estado.nombre +
                                           QStringLiteral(" ( void )"),
                                       QStringLiteral("Descripcion"), QStringLiteral("Detalles")) +
                     QLatin1Char('\n');
            texto += agregarFuncionPtr(estado.nombre);
            for (const Transicion &tr : estado.transiciones)
                texto += agregarFuncionPtrFuncion(tr.disparador, tr.acciones, tr.destino.toUpper());
            texto += cerrarFuncionPtr();
        }
    }
    return texto;
}

QString GeneradorCodigo::textoMainPtrFuncion() const
{
    QString texto = agregarTextoDeAdvertencia() + QLatin1Char('\n');
    texto +=
        encabezadoArchivo(QStringLiteral("main.c"), QStringLiteral("Resumen del contenido del archivo")) +
        QLatin1Char('\n');
    texto += QStringLiteral("\n#include \"AP_MdeE.h\"\n#include \"AP_Depuracion.h\"\n");
    texto += QStringLiteral("\nint main( void )\n{\n");
    texto += QStringLiteral("\t//!< Declaracion de variables\n\n\t//!< Inicializacion de Perifericos\n\n");
    texto += QStringLiteral("\tInicializacion() ;\n");
    texto += QStringLiteral("\n\twhile(1)\n\t{\n\n");
    texto += QStringLiteral("\t\tmaquina_estado();\n");
    texto += QStringLiteral("\n\t}\n");
    texto += QStringLiteral("\treturn 0;\n}\n");
    return texto;
}

bool GeneradorCodigo::generarMainPtrFuncion(const QString &carpeta, const QString &nombre) const
{
    return guardar(carpeta + nombre + QStringLiteral(".c"), textoMainPtrFuncion());
}

QString GeneradorCodigo::textoFuncionesPtrFuncionMDE(const QString &funcionesEstados) const
{
    const QVector<Estado> primeros = m_maquinas.isEmpty() ? QVector<Estado>() : m_maquinas.first().estados;
    const QString inicial = m_maquinas.isEmpty() ? QString() : m_maquinas.first().inicial.toUpper();
    const QString ultimo = primeros.isEmpty() ? QString() : primeros.last().nombre.toUpper();

    QString tabla = QStringLiteral("void ( * const arrayFunciones[ ] )( void ) = { ");
    QString prototipos;
    for (int i = 0; i < primeros.size(); ++i) {
        const QString &nombre = primeros.at(i).nombre;
        tabla += QStringLiteral("funcion_") + nombre +
                 (i + 1 < primeros.size() ? QStringLiteral(" , ") : QString());
        prototipos += QStringLiteral("static void funcion_") + nombre + QStringLiteral("( void );\n");
    }
    tabla += QStringLiteral(" };\n");

    QString texto;
    texto.reserve(8192 + funcionesEstados.size() + tabla.size() + prototipos.size());
    texto += agregarTextoDeAdvertencia() + QLatin1Char('\n');
    texto += encabezadoArchivo(QStringLiteral("MdeE.c"), QString()) + QLatin1Char('\n');
    texto += banner(QStringLiteral(" *** INCLUDES"), "\n");
    texto += QStringLiteral(
        "#include \"AP_MdeE.h\"\n#include \"AP_FuncionesMdeE.h\"\n#include \"AP_Depuracion.h\"\n\n");
    texto += banner(QStringLiteral(" *** DEFINES PRIVADOS AL MODULO"), "\n\n");
    texto += banner(QStringLiteral(" *** MACROS PRIVADAS AL MODULO"), "\n");
    texto += QLatin1Char('\n') + banner(QStringLiteral(" *** TIPOS DE DATOS PRIVADOS AL MODULO"), "\n\n");
    // The table names the state functions, so they are declared before it.
    texto += banner(QStringLiteral(" *** PROTOTIPO DE FUNCIONES PRIVADAS AL MODULO"), "\n");
    texto += prototipos;
    texto += banner(QStringLiteral(" *** TABLAS PRIVADAS AL MODULO"), "\n");
    texto += tabla + QLatin1Char('\n');
    texto += banner(QStringLiteral(" *** VARIABLES GLOBALES PUBLICAS"), "\n");
    texto += DeclararVariables(m_variables) + QLatin1Char('\n');
    texto += banner(QStringLiteral(" *** VARIABLES GLOBALES PRIVADAS AL MODULO"), "\n");
    texto += QStringLiteral("static int estado = ") + inicial + QStringLiteral(";\n\n");
    texto += QLatin1Char('\n') + banner(QStringLiteral(" *** FUNCIONES PRIVADAS AL MODULO"), "\n");
    texto += funcionesEstados;
    texto += banner(QStringLiteral(" *** FUNCIONES GLOBALES AL MODULO"), "\n");
    texto += encabezadoFuncion(QStringLiteral("void maquina_estado( void )"),
                               QStringLiteral("Maquina de estado mediante vector de ptr a funcion"),
                               QStringLiteral("Detalles")) +
             QLatin1Char('\n');
    texto += QStringLiteral("void maquina_estado( void )\n{\n");
    const QString arranque = m_maquinas.isEmpty()
                                 ? QString()
                                 : bloqueInicial(m_maquinas.first().accionesIniciales, QStringLiteral("\t"));
    if (!arranque.isEmpty())
        texto += QStringLiteral("\tstatic int iniciada = 0;\n\n") + arranque + QLatin1Char('\n');
    // The state is a signed int: a negative value must not index the table either.
    texto += QStringLiteral("\tif( estado < 0 || estado > ") + ultimo + QStringLiteral(" )\n\t{\n");
    texto += QStringLiteral("\t\testado = ") + inicial + QStringLiteral(";\n\t\treturn;\n\t}\n");
    texto += QStringLiteral("\n\t( *arrayFunciones[ estado ] )( );\n}\n");
    return texto;
}

bool GeneradorCodigo::escribirFuncionesPtrFuncionMDE(const QString &ruta,
                                                     const QString &funcionesEstados) const
{
    return guardar(ruta + QStringLiteral(".c"), textoFuncionesPtrFuncionMDE(funcionesEstados));
}
