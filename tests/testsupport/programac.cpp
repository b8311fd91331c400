#include "programac.h"

#include "testsupport.h"
#include "xmlhandler.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QProcess>
#include <QRegularExpression>

namespace TestSupport {

namespace {

const char *const kFunciones = "#include \"AP_MdeE.h\"\nvoid inicializar(void);\n";
const char *const kDepuracion =
    "void Log(int maquina, int estado, int transicion);\nvoid Inicializacion(void);\n";

// Every capture of patron over the lines of a generated file, in order.
QStringList capturas(const QString &archivo, const QString &patron)
{
    QStringList nombres;
    const QString texto = QString::fromLatin1(readFile(archivo));
    auto it = QRegularExpression(patron, QRegularExpression::MultilineOption).globalMatch(texto);
    while (it.hasNext())
        nombres.append(it.next().captured(1));
    return nombres;
}

QString listaC(const QStringList &elementos, const QString &formato)
{
    QString texto;
    for (const QString &e : elementos)
        texto += formato.arg(e) + QStringLiteral(", ");
    return QStringLiteral("{ ") + texto + QStringLiteral("0 }");
}

bool escribirCabecerasDeApoyo(const QString &carpeta)
{
    return writeFile(carpeta + QStringLiteral("/funciones.h"), kFunciones) &&
           writeFile(carpeta + QStringLiteral("/AP_Depuracion.h"), kDepuracion);
}

// The names the generated files of carpeta declare.
struct NombresC
{
    QStringList eventos, acciones, estados, maquinas, variables;
};
NombresC nombresC(const QString &carpeta)
{
    const QString funciones = carpeta + QStringLiteral("/AP_FuncionesMdeE.h");
    const QString cabecera = carpeta + QStringLiteral("/AP_MdeE.h");
    return {capturas(funciones, QStringLiteral("^int (\\w+)\\( void \\);$")),
            capturas(funciones, QStringLiteral("^void (\\w+)\\( void \\);$")),
            capturas(cabecera, QStringLiteral("^#define\\t(\\w+)\\t\\t\\d+$")),
            capturas(cabecera, QStringLiteral("^void maquina_(\\w+)\\(void\\);$")),
            capturas(carpeta + QStringLiteral("/AP_MdeE.c"), QStringLiteral("int (\\w+) = 0 ;"))};
}

// The driver of ProgramaC, built from the names the generated files declare.
QByteArray arnes(const QString &carpeta, EstiloCodigo estilo)
{
    const NombresC nombres = nombresC(carpeta);
    const QStringList &eventos = nombres.eventos;
    const QStringList &acciones = nombres.acciones;
    const QStringList &estados = nombres.estados;
    const QStringList &maquinas = nombres.maquinas;
    const QStringList &variables = nombres.variables;
    const bool conSwitch = estilo == EstiloCodigo::Switch;
    const int cantidad = conSwitch ? maquinas.size() : qMin(maquinas.size(), 1);

    QString c = QStringLiteral(
                    "#include <stdio.h>\n#include <stdlib.h>\n#include <string.h>\n"
                    "#define ARNES_MAQUINAS %1\n"
                    "static int *arnes_estado[ARNES_MAQUINAS + 1];\n"
                    "static int arnes_maquina, arnes_forzar[ARNES_MAQUINAS + 1], "
                    "arnes_forzado[ARNES_MAQUINAS + 1];\n"
                    "static int arnes_observar(int *estado)\n{\n"
                    "    arnes_estado[arnes_maquina] = estado;\n"
                    "    if (arnes_forzado[arnes_maquina]) { *estado = arnes_forzar[arnes_maquina]; "
                    "arnes_forzado[arnes_maquina] = 0; }\n"
                    "    return *estado;\n}\n"
                    "#define switch(v) switch (arnes_observar(&(v)))\n"
                    "#include \"AP_MdeE.c\"\n#undef switch\n"
                    "static char arnes_acciones[1 << 16];\n"
                    "static void arnes_anotar(const char *nombre)\n{\n"
                    "    if (strlen(arnes_acciones) + strlen(nombre) + 2 >= sizeof arnes_acciones) return;\n"
                    "    strcat(arnes_acciones, \" \");\n    strcat(arnes_acciones, nombre);\n}\n"
                    "void Log(int m, int e, int t) { (void)m; (void)e; (void)t; }\n")
                    .arg(cantidad);
    c += QStringLiteral("static const char *const arnes_eventos[] = %1;\n")
             .arg(listaC(eventos, QStringLiteral("\"%1\"")));
    c += QStringLiteral("static int arnes_verdadero[%1];\n").arg(eventos.size() + 1);
    for (int i = 0; i < eventos.size(); ++i)
        c += QStringLiteral("int %1(void) { return arnes_verdadero[%2]; }\n").arg(eventos.at(i)).arg(i);
    for (const QString &accion : acciones)
        c += QStringLiteral("void %1(void) { arnes_anotar(\"%1\"); }\n").arg(accion);
    c += QStringLiteral("static const char *const arnes_variables[] = %1;\n")
             .arg(listaC(variables, QStringLiteral("\"%1\"")));
    c += QStringLiteral("static int *const arnes_valores[] = %1;\n")
             .arg(listaC(variables, QStringLiteral("&%1")));
    c += QStringLiteral("static const char *const arnes_estados[] = %1;\n")
             .arg(listaC(estados, QStringLiteral("\"%1\"")));
    c += QStringLiteral("#define ARNES_ESTADOS %1\n").arg(estados.size());
    c += QStringLiteral("static void arnes_paso(void)\n{\n");
    for (int k = 0; k < cantidad; ++k) {
        if (conSwitch)
            c += QStringLiteral("    arnes_maquina = %1;\n    maquina_%2();\n").arg(k).arg(maquinas.at(k));
    }
    if (!conSwitch && cantidad > 0) {
        c += QStringLiteral("    arnes_estado[0] = &estado;\n"
                            "    if (arnes_forzado[0]) { estado = arnes_forzar[0]; arnes_forzado[0] = 0; }\n"
                            "    maquina_estado();\n");
    }
    c += QStringLiteral("}\n");
    c += QStringLiteral(R"(int main(void)
{
    char linea[4096];
    while (fgets(linea, sizeof linea, stdin)) {
        memset(arnes_verdadero, 0, sizeof arnes_verdadero);
        arnes_acciones[0] = 0;
        for (char *t = strtok(linea, " \t\r\n"); t; t = strtok(0, " \t\r\n")) {
            char *igual = strchr(t, '=');
            int i, hallado = strcmp(t, "-") == 0;
            if (igual) {
                *igual = 0;
                if (t[0] == '@' && atoi(t + 1) >= 0 && atoi(t + 1) < ARNES_MAQUINAS) {
                    arnes_forzar[atoi(t + 1)] = atoi(igual + 1);
                    arnes_forzado[atoi(t + 1)] = hallado = 1;
                }
                for (i = 0; arnes_variables[i]; ++i)
                    if (strcmp(arnes_variables[i], t) == 0) { *arnes_valores[i] = atoi(igual + 1); hallado = 1; }
            }
            for (i = 0; !igual && arnes_eventos[i]; ++i)
                if (strcmp(arnes_eventos[i], t) == 0) { arnes_verdadero[i] = 1; hallado = 1; }
            if (!hallado) { fprintf(stderr, "entrada desconocida: %s\n", t); return 2; }
        }
        arnes_paso();
        for (int k = 0; k < ARNES_MAQUINAS; ++k) {
            const int n = *arnes_estado[k];
            if (n >= 0 && n < ARNES_ESTADOS) printf("%s%s", k ? " " : "", arnes_estados[n]);
            else printf("%s%d", k ? " " : "", n);
        }
        printf(" |%s |", arnes_acciones);
        for (int i = 0; arnes_variables[i]; ++i) printf(" %s=%d", arnes_variables[i], *arnes_valores[i]);
        printf("\n");
    }
    return 0;
}
)");
    return c.toLatin1();
}

// The driver of carpeta's project as a piece of a unit shared with other
// projects: the names the generated C defines, the driver's own (its
// "arnes_" statics) and its main take the prefix, and the headers can be
// read again by the next piece.
QByteArray pieza(const QString &carpeta, EstiloCodigo estilo, const QString &prefijo)
{
    const NombresC nombres = nombresC(carpeta);
    QStringList globales{QStringLiteral("main"),
                         QStringLiteral("arrayFunciones"),
                         QStringLiteral("maquina_estado"),
                         QStringLiteral("estado"),
                         QStringLiteral("Log"),
                         QStringLiteral("Inicializacion"),
                         QStringLiteral("inicializar")};
    globales += nombres.eventos + nombres.acciones + nombres.variables;
    for (const QString &maquina : nombres.maquinas)
        globales << QStringLiteral("maquina_") + maquina;
    for (const QString &estado : nombres.estados)
        globales << QStringLiteral("funcion_") + estado;
    QString c = QStringLiteral("#undef INC_MDEE_H_\n#undef INC_AP_FUNCIONESMDEE_H_\n");
    for (const QString &nombre : globales)
        c += QStringLiteral("#define %1 %2_%1\n").arg(nombre, prefijo);
    c += QString::fromLatin1(arnes(carpeta, estilo))
             .replace(QStringLiteral("arnes_"), prefijo + QStringLiteral("_arnes_"))
             .replace(QStringLiteral("#include \"AP_MdeE.c\""),
                      QStringLiteral("#include \"%1/AP_MdeE.c\"").arg(QFileInfo(carpeta).fileName()));
    for (const QString &nombre :
         globales + nombres.estados +
             QStringList{QStringLiteral("ARNES_MAQUINAS"), QStringLiteral("ARNES_ESTADOS")})
        c += QStringLiteral("#undef %1\n").arg(nombre);
    return c.toLatin1();
}

} // namespace

Proceso ejecutar(const QString &programa, const QStringList &argumentos, const QByteArray &entrada)
{
    QProcess proceso;
    proceso.setProcessChannelMode(QProcess::MergedChannels);
    proceso.start(programa, argumentos);
    if (!proceso.waitForStarted(10000))
        return {false, "no arranca " + programa.toLocal8Bit()};
    proceso.write(entrada);
    proceso.closeWriteChannel();
    if (!proceso.waitForFinished(60000)) {
        proceso.kill();
        proceso.waitForFinished();
        return {false, "no termina " + programa.toLocal8Bit()};
    }
    return {proceso.exitStatus() == QProcess::NormalExit && proceso.exitCode() == 0, proceso.readAll()};
}

namespace {

// The generated files, their headers and the driver of ProgramaC in carpeta.
bool preparar(const XmlHandler &datos, EstiloCodigo estilo, const QString &carpeta)
{
    return GeneradorCodigo(datos).generar(estilo, carpeta) && escribirCabecerasDeApoyo(carpeta) &&
           writeFile(carpeta + QStringLiteral("/arnes.c"), arnes(carpeta, estilo));
}

const QStringList kOpciones{QStringLiteral("-std=c99"), QStringLiteral("-Wall"),
                            QStringLiteral("-Werror=implicit-function-declaration")};

} // namespace

bool ProgramaC::compilar(const XmlHandler &datos, EstiloCodigo estilo, const QString &carpeta)
{
    m_programa = carpeta + QStringLiteral("/arnes");
    if (!preparar(datos, estilo, carpeta)) {
        m_error = QStringLiteral("no se pudo escribir en ") + carpeta;
        return false;
    }
    const Proceso gcc = ejecutar(QStringLiteral("gcc"),
                                 kOpciones + QStringList{QStringLiteral("-I") + carpeta, QStringLiteral("-o"),
                                                         m_programa, carpeta + QStringLiteral("/arnes.c")});
    m_error = gcc.ok ? QString() : QString::fromLocal8Bit(gcc.salida);
    return gcc.ok;
}

QList<QByteArray> ProgramaC::correrVarias(const QVector<Corrida> &corridas, const QString &carpeta,
                                          QString *error)
{
    const int kUnidades = 8;
    // The C library first, before any name is redefined.
    QVector<QByteArray> unidades(
        kUnidades, QByteArray("#include <stdio.h>\n#include <stdlib.h>\n#include <string.h>\n"));
    QByteArray principal = "#include <stdio.h>\n";
    QByteArray llamadas;
    for (int i = 0; i < corridas.size(); ++i) {
        const QString p = QStringLiteral("p%1").arg(i);
        const QString sub = carpeta + QLatin1Char('/') + p;
        const QString entrada = sub + QStringLiteral(".in");
        if (!preparar(*corridas.at(i).datos, corridas.at(i).estilo, sub) ||
            !writeFile(entrada, corridas.at(i).pasos)) {
            *error = QStringLiteral("no se pudo escribir en ") + carpeta;
            return {};
        }
        unidades[i % kUnidades] += pieza(sub, corridas.at(i).estilo, p);
        principal += "int " + p.toLatin1() + "_main(void);\n";
        llamadas += "    printf(\"#\\n\");\n    if (!freopen(\"" + QFile::encodeName(entrada) +
                    "\", \"r\", stdin)) return 1;\n    " + p.toLatin1() + "_main();\n";
    }
    principal += "int main(void)\n{\n" + llamadas + "    return 0;\n}\n";
    // Two compilers side by side, each with half of the units, then the link.
    QStringList objetos{QStringLiteral("-o"), carpeta + QStringLiteral("/varias"),
                        carpeta + QStringLiteral("/principal.c")};
    bool escritos = writeFile(objetos.last(), principal);
    QProcess gcc[2];
    for (int i = 0; i < 2; ++i) {
        QStringList mitad{QStringLiteral("-c")};
        for (int u = i; u < kUnidades; u += 2) {
            mitad << QStringLiteral("unidad%1.c").arg(u);
            objetos << carpeta + QStringLiteral("/unidad%1.o").arg(u);
            escritos = escritos && writeFile(carpeta + QLatin1Char('/') + mitad.last(), unidades.at(u));
        }
        gcc[i].setWorkingDirectory(carpeta);
        gcc[i].setProcessChannelMode(QProcess::MergedChannels);
        gcc[i].start(QStringLiteral("gcc"), kOpciones + mitad);
    }
    Proceso programa{true, QByteArray()};
    for (QProcess &proceso : gcc) {
        if (!proceso.waitForFinished(300000) || proceso.exitCode() != 0)
            programa = {false, programa.salida + proceso.readAll()};
    }
    if (programa.ok)
        programa = ejecutar(QStringLiteral("gcc"), kOpciones + objetos);
    if (programa.ok)
        programa = ejecutar(carpeta + QStringLiteral("/varias"), {});
    if (!escritos || !programa.ok) {
        *error = QString::fromLocal8Bit(programa.salida.left(4000));
        return {};
    }
    QList<QByteArray> salidas = programa.salida.split('#');
    salidas.removeFirst();
    for (QByteArray &salida : salidas)
        salida.remove(0, 1);
    return salidas;
}

QByteArray ProgramaC::correr(const QByteArray &pasos) const
{
    return ejecutar(m_programa, {}, pasos).salida;
}

QStringList ProgramaC::simbolosDefinidos(const QString &carpeta, const QString &compilador,
                                         const QStringList &opciones, QString *error)
{
    if (!escribirCabecerasDeApoyo(carpeta)) {
        *error = QStringLiteral("no se pudo escribir en ") + carpeta;
        return {};
    }
    QString nm = compilador;
    nm.replace(QRegularExpression(QStringLiteral("gcc$")), QStringLiteral("nm"));
    QStringList simbolos;
    for (const QString &fuente :
         {QStringLiteral("main.c"), QStringLiteral("AP_MdeE.c"), QStringLiteral("AP_FuncionesMdeE.c")}) {
        const QString objeto = carpeta + QLatin1Char('/') + fuente + QStringLiteral(".o");
        const Proceso cc = ejecutar(
            compilador,
            QStringList{QStringLiteral("-std=c99"), QStringLiteral("-c"), QStringLiteral("-I") + carpeta} +
                opciones + QStringList{QStringLiteral("-o"), objeto, carpeta + QLatin1Char('/') + fuente});
        const Proceso lista = cc.ok ? ejecutar(nm, {QStringLiteral("--defined-only"), objeto}) : cc;
        if (!lista.ok) {
            *error = fuente + QStringLiteral(":\n") + QString::fromLocal8Bit(lista.salida);
            return {};
        }
        // "00000000 T nombre"; a static local comes out as "nombre.0".
        for (const QByteArray &linea : lista.salida.split('\n')) {
            const QList<QByteArray> campos = linea.simplified().split(' ');
            if (campos.size() == 3)
                simbolos.append(QString::fromLatin1(campos.at(2)).section(QLatin1Char('.'), 0, 0));
        }
    }
    simbolos.removeDuplicates();
    simbolos.sort();
    return simbolos;
}

} // namespace TestSupport
