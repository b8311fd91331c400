#include "commands.h"

#include "consola.h"
#include "corridaescenario.h"
#include "escenario.h"
#include "lectoropciones.h"

#include <QElapsedTimer>
#include <QSaveFile>
#include <QTextStream>
#include <QThread>
#include <QtConcurrent>
#include <unistd.h>

namespace {

using Consola::errores;
using Consola::salida;

const char *const kAyuda = "Uso: vireo-cli check ESCENARIO PROYECTO... [--csv ARCHIVO] [--cobertura]\n"
                           "\n"
                           "Corre el escenario sobre cada proyecto (por ejemplo entregas/*/*.vro), en todos\n"
                           "los núcleos, y muestra una fila por proyecto: comprobaciones cumplidas / total,\n"
                           "estados y transiciones por los que pasó la corrida, y la primera comprobación\n"
                           "que falló (línea, lo esperado y lo encontrado). Ningún archivo se modifica.\n"
                           "\n"
                           "El escenario es un texto con un paso por línea (las líneas vacías y las que\n"
                           "empiezan con # no cuentan):\n"
                           "  modo filas | modo c        solo como primer paso; filas si falta\n"
                           "  evento TEXTO               filas: el texto de una fila de disparo;\n"
                           "                             c: los eventos verdaderos del paso (a, b) o -\n"
                           "  variable NOMBRE = VALOR    (modo c) antes del paso siguiente\n"
                           "  estado MAQUINA ESTADO      comprueba el estado actual de la máquina\n"
                           "  acciones MAQUINA TEXTO     comprueba las acciones del último paso,\n"
                           "                             separadas con ; (vacío: ninguna)\n"
                           "  reset                      vuelve al reset\n"
                           "\n"
                           "  --csv ARCHIVO   escribe además la tabla en ARCHIVO, con el encabezado\n"
                           "                  proyecto,pasos_ok,pasos,estados_cubiertos,estados,\n"
                           "                  transiciones_cubiertas,transiciones,primer_fallo\n"
                           "  --cobertura     lista, por proyecto, las transiciones que no se tomaron\n"
                           "\n"
                           "Códigos de salida: 0 todos los proyectos cumplieron todas las comprobaciones;\n"
                           "1 alguno no (o no se pudo leer); 2 uso incorrecto o escenario ilegible.\n";

const char *const kEncabezadoCsv =
    "proyecto,pasos_ok,pasos,estados_cubiertos,estados,transiciones_cubiertas,transiciones,primer_fallo\n";

struct Opciones
{
    QString escenario;
    QStringList proyectos;
    QString csv;
    bool cobertura = false;
    bool ayuda = false;
};

// Empty on success, else the reason the arguments are not usable.
QString leerOpciones(const QStringList &args, Opciones *opciones)
{
    const QString csv = QStringLiteral("--csv");
    const QString cobertura = QStringLiteral("--cobertura");
    const LectorOpciones lector(args, {csv}, {cobertura});
    if (lector.problema() == LectorOpciones::FaltaValor)
        return QStringLiteral("falta el archivo de --csv.");
    if (lector.problema() == LectorOpciones::Desconocida)
        return QStringLiteral("opción desconocida %1.").arg(lector.argumento());
    opciones->ayuda = lector.ayuda();
    if (opciones->ayuda)
        return QString();
    if (lector.posicionales().size() < 2)
        return QStringLiteral("se necesitan un escenario y al menos un proyecto.");
    opciones->escenario = lector.posicionales().first();
    opciones->proyectos = lector.posicionales().mid(1);
    opciones->csv = lector.valor(csv);
    opciones->cobertura = lector.bandera(cobertura);
    return QString();
}

// A spreadsheet takes a cell that starts with one of these as a formula; a
// file name chosen by a student must not run as one on the teacher's desk.
QString campoCsv(const QString &texto)
{
    QString campo = texto;
    if (!campo.isEmpty() && QStringLiteral("=+-@").contains(campo.at(0)))
        campo.prepend(QLatin1Char('\''));
    if (campo.contains(QLatin1Char(',')) || campo.contains(QLatin1Char('"')) ||
        campo.contains(QLatin1Char('\n')) || campo.contains(QLatin1Char('\r'))) {
        campo.replace(QLatin1String("\""), QLatin1String("\"\""));
        campo = QLatin1Char('"') + campo + QLatin1Char('"');
    }
    return campo;
}

QByteArray tablaCsv(const QVector<ResultadoEscenario> &resultados)
{
    QString texto = QString::fromLatin1(kEncabezadoCsv);
    for (const ResultadoEscenario &r : resultados) {
        const QStringList numeros{QString::number(r.pasosOk),
                                  QString::number(r.pasos),
                                  QString::number(r.estadosCubiertos),
                                  QString::number(r.estados),
                                  QString::number(r.transicionesCubiertas),
                                  QString::number(r.transiciones)};
        texto += campoCsv(r.proyecto) + QLatin1Char(',') + numeros.join(QLatin1Char(',')) + QLatin1Char(',') +
                 campoCsv(r.textoFallo()) + QLatin1Char('\n');
    }
    return texto.toUtf8();
}

QString fraccion(int parte, int total)
{
    return QString::number(parte) + QLatin1Char('/') + QString::number(total);
}

void escribirTabla(const QVector<ResultadoEscenario> &resultados)
{
    QVector<QStringList> filas{{QStringLiteral("proyecto"), QStringLiteral("pasos"),
                                QStringLiteral("estados"), QStringLiteral("transiciones"),
                                QStringLiteral("primer fallo")}};
    for (const ResultadoEscenario &r : resultados) {
        filas.append({r.proyecto, fraccion(r.pasosOk, r.pasos), fraccion(r.estadosCubiertos, r.estados),
                      fraccion(r.transicionesCubiertas, r.transiciones), r.textoFallo()});
    }
    QVector<int> anchos(4, 0);
    for (const QStringList &fila : filas) {
        for (int c = 0; c < anchos.size(); ++c)
            anchos[c] = qMax(anchos.at(c), fila.at(c).size());
    }
    int aprobados = 0;
    for (const ResultadoEscenario &r : resultados)
        aprobados += r.aprobado() ? 1 : 0;
    for (const QStringList &fila : filas) {
        QString linea;
        for (int c = 0; c < anchos.size(); ++c)
            linea += fila.at(c).leftJustified(anchos.at(c)) + QStringLiteral("  ");
        salida() << (linea + fila.last()).trimmed() << '\n';
    }
    salida() << '\n'
             << QStringLiteral("%1 de %2 proyectos cumplieron todas las comprobaciones.")
                    .arg(QString::number(aprobados), QString::number(resultados.size()))
             << '\n';
}

void escribirCobertura(const QVector<ResultadoEscenario> &resultados)
{
    salida() << QStringLiteral("\nTransiciones que el escenario no tomó\n");
    for (const ResultadoEscenario &r : resultados) {
        salida() << "    " << r.proyecto << '\n';
        if (!r.error.isEmpty())
            salida() << "        (" << r.error << ")\n";
        else if (r.transicionesSinTomar.isEmpty())
            salida() << "        (ninguna)\n";
        for (const QString &transicion : r.transicionesSinTomar)
            salida() << "        " << transicion << '\n';
    }
}

// QtConcurrent::mapped needs to be told what a call returns.
struct Corregir
{
    using result_type = ResultadoEscenario;
    const Escenario &escenario;
    ResultadoEscenario operator()(const QString &ruta) const
    {
        return CorridaEscenario::corregir(escenario, ruta);
    }
};

// Runs every project on the global pool (one thread per core). Progress is
// shown only to a person watching a run long enough to wonder.
QVector<ResultadoEscenario> corregirTodos(const Escenario &escenario, const QStringList &proyectos)
{
    QFuture<ResultadoEscenario> futuro = QtConcurrent::mapped(proyectos, Corregir{escenario});
    const bool terminal = isatty(STDERR_FILENO);
    QElapsedTimer reloj;
    reloj.start();
    bool mostrado = false;
    while (!futuro.isFinished()) {
        QThread::msleep(50);
        if (!terminal || reloj.elapsed() < 1000)
            continue;
        errores() << QStringLiteral("\rCorrigiendo: %1 de %2 proyectos")
                         .arg(QString::number(futuro.progressValue()), QString::number(proyectos.size()));
        errores().flush();
        mostrado = true;
    }
    if (mostrado) {
        errores() << '\r' << QString(60, QLatin1Char(' ')) << '\r';
        errores().flush();
    }
    return futuro.results().toVector();
}

} // namespace

int cmdCheck(const QStringList &args)
{
    Opciones opciones;
    const QString problema = leerOpciones(args, &opciones);
    if (!problema.isEmpty())
        return Consola::usoIncorrecto(problema, kAyuda);
    if (opciones.ayuda) {
        salida() << QString::fromUtf8(kAyuda);
        return 0;
    }
    const Escenario escenario = Escenario::leer(opciones.escenario);
    if (!escenario.esValido()) {
        for (const QString &error : escenario.errores())
            errores() << error << '\n';
        errores().flush();
        return 2;
    }
    QSaveFile csv(opciones.csv);
    if (!opciones.csv.isEmpty() && !csv.open(QIODevice::WriteOnly)) {
        errores() << "Error: no se pudo escribir " << opciones.csv << ": " << csv.errorString() << '\n';
        errores().flush();
        return 2;
    }
    const QVector<ResultadoEscenario> resultados = corregirTodos(escenario, opciones.proyectos);
    escribirTabla(resultados);
    if (opciones.cobertura)
        escribirCobertura(resultados);
    salida().flush();
    if (!opciones.csv.isEmpty() && (csv.write(tablaCsv(resultados)) < 0 || !csv.commit())) {
        errores() << "Error: no se pudo escribir " << opciones.csv << ": " << csv.errorString() << '\n';
        errores().flush();
        return 2;
    }
    for (const ResultadoEscenario &r : resultados) {
        if (!r.aprobado())
            return 1;
    }
    return 0;
}
