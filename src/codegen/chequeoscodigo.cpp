#include "chequeoscodigo.h"

#include "fragmentosc.h"
#include "validadornombre.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace {

// Why a name cannot stand where the generated C puts it (as comoC); empty
// when it can. elemento names it for the user: "El evento «x»".
QString problemaDeNombre(const QString &elemento, const QString &comoC)
{
    if (!ValidadorNombre::esIdentificadorC(comoC)) {
        return elemento +
               QStringLiteral(" no es un identificador C válido (solo letras sin acento, dígitos y _, "
                              "sin empezar por un dígito).");
    }
    if (ValidadorNombre::esPalabraReservadaC(comoC))
        return elemento + QStringLiteral(" es una palabra reservada de C.");
    return QString();
}

// The characters a trigger or an action may hold in the generated C: names,
// numbers, blanks, the operators the editor writes and the value characters
// C accepts there.
bool esCaracterDeCodigo(QChar c)
{
    static const QString operadores = QStringLiteral("!()&|=<>+-*/%^.,");
    return FragmentosC::esCaracterIdentificador(c) || c == QLatin1Char(' ') || c == QLatin1Char('\t') ||
           operadores.contains(c);
}

// Shown in a reason: blanks for line breaks and at most 60 characters.
QString cita(const QString &texto)
{
    const QString limpio = FragmentosC::textoDeComentario(texto).simplified();
    return limpio.size() > 60 ? limpio.left(57) + QStringLiteral("...") : limpio;
}

// A lone entry is pasted into the C as written, so a call must be exactly
// "nombre()".
bool esLlamadaSinArgumentos(const QString &entrada)
{
    static const QRegularExpression llamada(QStringLiteral("^\\s*[A-Za-z_]\\w*\\s*\\(\\s*\\)\\s*$"));
    return llamada.match(entrada).hasMatch();
}

// Why a trigger would give wrong C; cual names its transition.
QStringList problemasDeDisparador(const QString &cual, const ExpresionDisparo &disparador)
{
    const QString &texto = disparador.texto();
    if (texto.trimmed().isEmpty())
        return {};
    const QString problema = ChequeosCodigo::problemaDeTextoC(texto);
    if (!problema.isEmpty())
        return {cual + QStringLiteral(": el disparador «%1» %2.").arg(cita(texto), problema)};
    if (texto.contains(QLatin1Char(','))) {
        return {cual + QStringLiteral(": el disparador «%1» compara con un valor que lleva una coma; C no lo "
                                      "lee como un valor.")
                           .arg(cita(texto))};
    }
    if (!disparador.esValida())
        return {
            cual +
            QStringLiteral(": el disparador «%1» no se puede leer: %2").arg(cita(texto), disparador.error())};
    return {};
}

// Why an action list would give wrong C; cual names its transition.
QStringList problemasDeAcciones(const QString &cual, const ListaAcciones &acciones)
{
    if (acciones.texto().isEmpty())
        return {};
    const QString problema = ChequeosCodigo::problemaDeTextoC(acciones.texto());
    if (!problema.isEmpty())
        return {cual + QStringLiteral(": las acciones «%1» %2.").arg(cita(acciones.texto()), problema)};
    QStringList problemas;
    const QVector<ListaAcciones::Entrada> &entradas = acciones.entradas();
    for (int i = 0; i < entradas.size(); ++i) {
        const ListaAcciones::Entrada &entrada = entradas.at(i);
        if (entrada.tipo == ListaAcciones::Asignacion ||
            (entrada.tipo == ListaAcciones::Llamada && esLlamadaSinArgumentos(entrada.texto)))
            continue;
        // The list is stored joined with ",": a value holding one reads back
        // as an assignment followed by a stray entry.
        if (i > 0 && entradas.at(i - 1).tipo == ListaAcciones::Asignacion &&
            entrada.tipo != ListaAcciones::Vacia) {
            problemas.append(cual + QStringLiteral(": el valor de la asignación «%1,%2» lleva una coma; un "
                                                   "valor no puede llevarla.")
                                        .arg(cita(entradas.at(i - 1).texto), cita(entrada.texto)));
        } else if (entrada.tipo == ListaAcciones::Vacia) {
            problemas.append(cual + QStringLiteral(": la lista de acciones tiene una entrada vacía."));
        } else {
            problemas.append(cual + QStringLiteral(": «%1» no es una llamada a una acción sin argumentos ni "
                                                   "una asignación.")
                                        .arg(cita(entrada.texto)));
        }
    }
    return problemas;
}

} // namespace

ChequeosCodigo::ChequeosCodigo(const Proyecto &proyecto) : m_proyecto(proyecto) {}

QString ChequeosCodigo::problemaDeTextoC(const QString &texto)
{
    if (texto.contains(QLatin1String("/*")) || texto.contains(QLatin1String("*/")) ||
        texto.contains(QLatin1String("//")))
        return QStringLiteral("tiene marcas de comentario de C (/*, */ o //)");
    if (texto.contains(QLatin1Char('\n')) || texto.contains(QLatin1Char('\r')))
        return QStringLiteral("tiene saltos de línea");
    int abiertos = 0;
    for (const QChar c : texto) {
        abiertos += c == QLatin1Char('(') ? 1 : c == QLatin1Char(')') ? -1 : 0;
        if (abiertos < 0)
            break;
    }
    if (abiertos != 0)
        return QStringLiteral("tiene paréntesis sin pareja");
    for (const QChar c : texto) {
        if (esCaracterDeCodigo(c))
            continue;
        const QString muestra = c.unicode() < 0x20 || c.unicode() == 0x7f
                                    ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                                    : QString(c);
        return QStringLiteral("tiene el carácter «%1», que no puede ir ahí en el código C").arg(muestra);
    }
    return QString();
}

QString ChequeosCodigo::maquinaSinEstadoInicial() const
{
    for (const Maquina &maquina : m_proyecto.maquinas()) {
        if (!maquina.inicial.definida || maquina.inicial.destino < 0)
            return maquina.nombre;
    }
    return QString();
}

QStringList ChequeosCodigo::problemas(EstiloCodigo estilo) const
{
    const QVector<Maquina> &maquinas = m_proyecto.maquinas();
    QStringList problemas = problemasDeMaquinas() + problemasDeCatalogos() + problemasDeChoques(estilo);
    if (estilo == EstiloCodigo::PunteroAFuncion && maquinas.size() > 1) {
        QStringList otras;
        for (int k = 1; k < maquinas.size(); ++k)
            otras.append(maquinas.at(k).nombre);
        problemas.append(
            QStringLiteral("El estilo puntero a función ejecuta solo la primera máquina (%1); no "
                           "se ejecutará: %2.")
                .arg(maquinas.first().nombre, otras.join(QStringLiteral(", "))));
    }
    if (estilo == EstiloCodigo::PunteroAFuncion && (maquinas.isEmpty() || maquinas.first().estados.isEmpty()))
        problemas.append(
            QStringLiteral("El estilo puntero a función necesita una primera máquina con estados."));
    return problemas;
}

QStringList ChequeosCodigo::problemasDeMaquinas() const
{
    QStringList problemas;
    const auto revisar = [&problemas](const QString &elemento, const QString &comoC) {
        const QString problema = problemaDeNombre(elemento, comoC);
        if (!problema.isEmpty())
            problemas.append(problema);
    };
    QHash<QString, QString> maquinaDeEstado;
    for (const Maquina &maquina : m_proyecto.maquinas()) {
        revisar(QStringLiteral("La máquina «%1»").arg(maquina.nombre),
                QStringLiteral("maquina_") + maquina.nombre);
        if (maquina.inicial.definida && maquina.inicial.destino < 0) {
            problemas.append(
                QStringLiteral("El estado inicial de la máquina «%1» no es ninguno de sus estados.")
                    .arg(maquina.nombre));
        }
        problemas += problemasDeAcciones(
            QStringLiteral("La transición inicial de la máquina «%1»").arg(maquina.nombre),
            maquina.inicial.acciones);
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

QStringList ChequeosCodigo::problemasDeTransiciones(const Maquina &maquina, const Estado &estado) const
{
    QStringList problemas;
    for (int j = 0; j < estado.transiciones.size(); ++j) {
        const Transicion &tr = estado.transiciones.at(j);
        const QString cual = QStringLiteral("La transición %1 del estado «%2» de la máquina «%3»")
                                 .arg(QString::number(j + 1), estado.nombre, maquina.nombre);
        if (tr.disparador.texto().trimmed().isEmpty())
            problemas.append(cual + QStringLiteral(" no tiene disparador."));
        if (tr.destino < 0)
            problemas.append(cual + QStringLiteral(" lleva a un estado que no existe."));
        problemas += problemasDeDisparador(cual, tr.disparador);
        problemas += problemasDeAcciones(cual, tr.acciones);
    }
    return problemas;
}

QStringList ChequeosCodigo::problemasDeCatalogos() const
{
    QStringList problemas;
    const auto revisar = [&problemas](const QString &elemento, const QString &comoC) {
        const QString problema = problemaDeNombre(elemento, comoC);
        if (!problema.isEmpty())
            problemas.append(problema);
    };
    // Entries the files leave out (events holding "(", empty actions or
    // actions holding ",") cannot break them.
    for (const QString &evento : m_proyecto.eventos()) {
        if (!evento.contains(QLatin1Char('(')))
            revisar(QStringLiteral("El evento «%1»").arg(evento), evento);
    }
    for (const QString &accion : m_proyecto.acciones()) {
        if (!accion.isEmpty() && !accion.contains(QLatin1Char(',')))
            revisar(QStringLiteral("La acción «%1»").arg(accion), FragmentosC::nombreAccion(accion));
    }
    for (const QString &variable : m_proyecto.variables())
        revisar(QStringLiteral("La variable «%1»").arg(variable), variable);
    // The first two constants are TRUE and FALSE, which are not taken from the list.
    const QStringList &constantes = m_proyecto.constantes();
    for (int i = 2; i < constantes.size(); ++i)
        revisar(QStringLiteral("La constante «%1»").arg(constantes.at(i)), constantes.at(i));
    return problemas;
}

QStringList ChequeosCodigo::problemasDeChoques(EstiloCodigo estilo) const
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
    const QVector<Maquina> &maquinas = m_proyecto.maquinas();
    const bool conSwitch = estilo == EstiloCodigo::Switch;
    registrar(QStringLiteral("TRUE"), QStringLiteral("la constante TRUE"), false);
    registrar(QStringLiteral("FALSE"), QStringLiteral("la constante FALSE"), false);
    registrar(QStringLiteral("main"), QStringLiteral("la función main"), false);
    registrar(QStringLiteral("estado"), QStringLiteral("la variable que guarda el estado"), false);
    registrar(QStringLiteral("Log"), QStringLiteral("la función Log de depuración"), false);
    // Only the machines the style runs get the flag of their initial actions.
    const auto ejecutadas = conSwitch ? maquinas.size() : qMin(maquinas.size(), 1);
    const bool conArranque =
        std::any_of(maquinas.cbegin(), maquinas.cbegin() + ejecutadas, [](const Maquina &m) {
            return !FragmentosC::bloqueInicial(m.inicial.acciones.texto(), QString()).isEmpty();
        });
    if (conArranque)
        registrar(QStringLiteral("iniciada"), QStringLiteral("la marca de las acciones iniciales"), false);
    if (conSwitch) {
        registrar(QStringLiteral("inicializar"), QStringLiteral("la función inicializar"), false);
    } else {
        registrar(QStringLiteral("Inicializacion"), QStringLiteral("la función Inicializacion"), false);
        registrar(QStringLiteral("maquina_estado"), QStringLiteral("la función maquina_estado"), false);
        registrar(QStringLiteral("arrayFunciones"), QStringLiteral("la tabla de funciones"), false);
    }
    for (const Maquina &maquina : maquinas)
        registrar(QStringLiteral("maquina_") + maquina.nombre,
                  QStringLiteral("la máquina «%1»").arg(maquina.nombre), false);
    for (const Maquina &maquina : maquinas) {
        for (const Estado &estado : maquina.estados) {
            registrar(estado.nombre.toUpper(),
                      QStringLiteral("el estado «%1» de la máquina «%2»").arg(estado.nombre, maquina.nombre),
                      true);
        }
    }
    const QStringList &constantes = m_proyecto.constantes();
    for (int i = 2; i < constantes.size(); ++i)
        registrar(constantes.at(i), QStringLiteral("la constante «%1»").arg(constantes.at(i)), false);
    for (const QString &evento : m_proyecto.eventos()) {
        if (!evento.contains(QLatin1Char('(')))
            registrar(evento, QStringLiteral("el evento «%1»").arg(evento), false);
    }
    for (const QString &accion : m_proyecto.acciones()) {
        if (!accion.isEmpty() && !accion.contains(QLatin1Char(',')))
            registrar(FragmentosC::nombreAccion(accion), QStringLiteral("la acción «%1»").arg(accion), false);
    }
    for (const QString &variable : m_proyecto.variables())
        registrar(variable, QStringLiteral("la variable «%1»").arg(variable), false);
    return problemas;
}
