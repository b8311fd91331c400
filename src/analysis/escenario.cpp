#include "escenario.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextCodec>

namespace {

bool esIdentificador(const QString &texto)
{
    static const QRegularExpression patron(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return patron.match(texto).hasMatch();
}

// A value a variable can take: a decimal or hexadecimal number, or the name
// of a constant the project defines.
bool esValor(const QString &texto)
{
    static const QRegularExpression numero(
        QStringLiteral("^([+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)|0[xX][0-9A-Fa-f]+)$"));
    return numero.match(texto).hasMatch() || esIdentificador(texto);
}

QString citado(const QString &texto)
{
    return QStringLiteral("«") + texto + QStringLiteral("»");
}

// Decodes one line; false when it is not valid UTF-8.
bool decodificar(const QByteArray &bytes, QString &linea)
{
    QTextCodec *codec = QTextCodec::codecForName("UTF-8");
    QTextCodec::ConverterState estado;
    linea = codec->toUnicode(bytes.constData(), bytes.size(), &estado);
    return estado.invalidChars == 0 && estado.remainingChars == 0;
}

} // namespace

QString PasoEscenario::esperado() const
{
    if (tipo == Tipo::Estado)
        return estado;
    if (tipo == Tipo::Acciones)
        return acciones.isEmpty() ? QStringLiteral("(ninguna)") : acciones.join(QStringLiteral("; "));
    return QString();
}

bool PasoEscenario::operator==(const PasoEscenario &otro) const
{
    return tipo == otro.tipo && linea == otro.linea && evento == otro.evento && eventos == otro.eventos &&
           maquina == otro.maquina && estado == otro.estado && variable == otro.variable &&
           valor == otro.valor && acciones == otro.acciones;
}

Escenario Escenario::leer(const QString &ruta)
{
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) {
        Escenario escenario;
        escenario.m_nombre = ruta;
        escenario.m_errores.append(ruta + QStringLiteral(": no se pudo abrir el archivo"));
        return escenario;
    }
    return analizar(archivo.readAll(), ruta);
}

Escenario Escenario::analizar(const QByteArray &contenido, const QString &nombre)
{
    Escenario escenario;
    escenario.m_nombre = nombre;
    QByteArray datos = contenido;
    if (datos.startsWith("\xEF\xBB\xBF"))
        datos.remove(0, 3);
    const QList<QByteArray> lineas = datos.split('\n');
    bool primerPaso = true;
    for (int i = 0; i < lineas.size(); ++i) {
        QString linea;
        if (!decodificar(lineas.at(i), linea)) {
            escenario.error(i + 1, QStringLiteral("el texto no es UTF-8 válido"));
            continue;
        }
        linea = linea.trimmed();
        if (linea.isEmpty() || linea.startsWith(QLatin1Char('#')))
            continue;
        escenario.analizarLinea(linea, i + 1, primerPaso);
        primerPaso = false;
    }
    if (escenario.m_errores.isEmpty() && escenario.m_pasos.isEmpty())
        escenario.m_errores.append(nombre + QStringLiteral(": el escenario no tiene pasos"));
    if (!escenario.m_errores.isEmpty())
        escenario.m_pasos.clear();
    return escenario;
}

void Escenario::analizarLinea(const QString &linea, int numero, bool primerPaso)
{
    const int blanco = linea.indexOf(QLatin1Char(' '));
    const QString clave = blanco < 0 ? linea : linea.left(blanco);
    const QString argumento = blanco < 0 ? QString() : linea.mid(blanco + 1);
    if (argumento.startsWith(QLatin1Char(' ')) || argumento.startsWith(QLatin1Char('\t'))) {
        error(numero, QStringLiteral("después de %1 va un solo espacio").arg(citado(clave)));
        return;
    }
    PasoEscenario paso;
    paso.linea = numero;
    if (clave == QLatin1String("modo")) {
        if (!primerPaso)
            error(numero, QStringLiteral("%1 solo puede ser el primer paso").arg(citado(clave)));
        else if (argumento == QLatin1String("filas"))
            m_modo = Modo::Filas;
        else if (argumento == QLatin1String("c"))
            m_modo = Modo::C;
        else
            error(numero, QStringLiteral("se espera «modo filas» o «modo c»"));
        return;
    }
    if (clave == QLatin1String("reset")) {
        if (blanco >= 0) {
            error(numero, QStringLiteral("«reset» no lleva texto"));
            return;
        }
        paso.tipo = PasoEscenario::Tipo::Reset;
    } else if (clave == QLatin1String("evento")) {
        paso.tipo = PasoEscenario::Tipo::Evento;
        if (argumento.isEmpty()) {
            error(numero, QStringLiteral("falta el evento después de «evento»"));
            return;
        }
        if (m_modo == Modo::Filas) {
            paso.evento = argumento;
        } else if (argumento != QLatin1String("-")) {
            for (const QString &parte : argumento.split(QLatin1Char(','))) {
                const QString evento = parte.trimmed();
                if (!esIdentificador(evento)) {
                    error(numero, evento.isEmpty() ? QStringLiteral("evento vacío en la lista")
                                                   : QStringLiteral("%1 no es un nombre de evento (en modo c "
                                                                    "se escriben eventos separados por "
                                                                    "comas, o «-»)")
                                                         .arg(citado(evento)));
                    return;
                }
                paso.eventos.append(evento);
            }
        }
    } else if (clave == QLatin1String("variable")) {
        paso.tipo = PasoEscenario::Tipo::Variable;
        if (m_modo != Modo::C) {
            error(numero, QStringLiteral("«variable» solo vale en modo c (empiece el archivo con «modo c»)"));
            return;
        }
        const int igual = argumento.indexOf(QLatin1Char('='));
        paso.variable = argumento.left(qMax(0, igual)).trimmed();
        paso.valor = igual < 0 ? QString() : argumento.mid(igual + 1).trimmed();
        if (paso.variable.isEmpty() || paso.valor.isEmpty()) {
            error(numero, QStringLiteral("se espera «variable NOMBRE = VALOR»"));
            return;
        }
        if (!esIdentificador(paso.variable)) {
            error(numero, QStringLiteral("%1 no es un nombre de variable").arg(citado(paso.variable)));
            return;
        }
        if (!esValor(paso.valor)) {
            error(numero, QStringLiteral("%1 no es un valor (se espera un número o una constante)")
                              .arg(citado(paso.valor)));
            return;
        }
    } else if (clave == QLatin1String("estado")) {
        paso.tipo = PasoEscenario::Tipo::Estado;
        const QStringList campos = argumento.split(QLatin1Char(' '));
        if (campos.size() != 2 || campos.at(0).isEmpty() || campos.at(1).isEmpty()) {
            error(numero, QStringLiteral("se espera «estado MAQUINA ESTADO»"));
            return;
        }
        paso.maquina = campos.at(0);
        paso.estado = campos.at(1);
    } else if (clave == QLatin1String("acciones")) {
        paso.tipo = PasoEscenario::Tipo::Acciones;
        const int separador = argumento.indexOf(QLatin1Char(' '));
        paso.maquina = separador < 0 ? argumento : argumento.left(separador);
        if (paso.maquina.isEmpty()) {
            error(numero, QStringLiteral("se espera «acciones MAQUINA ACCIONES»"));
            return;
        }
        const QString lista = separador < 0 ? QString() : argumento.mid(separador + 1).trimmed();
        if (!lista.isEmpty()) {
            for (const QString &parte : lista.split(QLatin1Char(';'))) {
                const QString accion = parte.simplified();
                if (accion.isEmpty()) {
                    error(numero,
                          QStringLiteral("acción vacía en la lista (las acciones se separan con «;»)"));
                    return;
                }
                paso.acciones.append(accion);
            }
        }
    } else {
        error(numero, QStringLiteral("palabra desconocida %1 (se espera modo, evento, variable, estado, "
                                     "acciones o reset)")
                          .arg(citado(clave)));
        return;
    }
    m_pasos.append(paso);
}

void Escenario::error(int numero, const QString &mensaje)
{
    m_errores.append(QStringLiteral("%1:%2: %3").arg(m_nombre, QString::number(numero), mensaje));
}

int Escenario::cantidadComprobaciones() const
{
    int cantidad = 0;
    for (const PasoEscenario &paso : m_pasos)
        cantidad += paso.esComprobacion() ? 1 : 0;
    return cantidad;
}

QString Escenario::lineaDe(const PasoEscenario &paso, Modo modo)
{
    switch (paso.tipo) {
    case PasoEscenario::Tipo::Evento:
        if (modo == Modo::Filas)
            return QStringLiteral("evento ") + paso.evento;
        return QStringLiteral("evento ") +
               (paso.eventos.isEmpty() ? QStringLiteral("-") : paso.eventos.join(QStringLiteral(", ")));
    case PasoEscenario::Tipo::Variable:
        return QStringLiteral("variable %1 = %2").arg(paso.variable, paso.valor);
    case PasoEscenario::Tipo::Estado:
        return QStringLiteral("estado %1 %2").arg(paso.maquina, paso.estado);
    case PasoEscenario::Tipo::Acciones:
        if (paso.acciones.isEmpty())
            return QStringLiteral("acciones ") + paso.maquina;
        return QStringLiteral("acciones %1 %2").arg(paso.maquina, paso.acciones.join(QStringLiteral("; ")));
    case PasoEscenario::Tipo::Reset:
        break;
    }
    return QStringLiteral("reset");
}

QByteArray Escenario::texto() const
{
    QString texto;
    if (m_modo == Modo::C)
        texto += QStringLiteral("modo c\n");
    for (const PasoEscenario &paso : m_pasos)
        texto += lineaDe(paso, m_modo) + QLatin1Char('\n');
    return texto.toUtf8();
}
