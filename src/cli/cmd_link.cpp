#include "commands.h"

#include "puertosenlace.h"
#include "servidorreportes.h"
#include "tramaenlace.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTextStream>

namespace {

const char *const kUsoMonitor = "Uso: vireo-cli monitor [--port PUERTO] [--crudo]\n"
                                "\n"
                                "Escucha en 127.0.0.1 (puerto 8000, o VIREO_PUERTO_REPORTES) los pasos que\n"
                                "envía una simulación de Vireo y muestra cada uno en una línea:\n"
                                "  maquina: estado --evento--> proximo estado / acciones\n"
                                "  (reset)\n"
                                "Con --crudo muestra las tramas tal como llegan. Los caracteres de\n"
                                "control se muestran escritos (\\x1b); de una trama no válida se muestran\n"
                                "200 caracteres y su longitud. Admite 64 conexiones a la vez y 4 KiB sin\n"
                                "completar por conexión: más allá la cierra y lo dice. Ctrl+C termina.\n";

const char *const kUsoSend =
    "Uso: vireo-cli send [--port PUERTO] EVENTO...\n"
    "\n"
    "Envía cada EVENTO, en orden, a la simulación que corre en Vireo\n"
    "(127.0.0.1, puerto 9000, o VIREO_PUERTO_EVENTOS), como si se hubiera hecho\n"
    "doble clic en su fila de la tabla de eventos. El texto debe ser el de la fila,\n"
    "por ejemplo \"boton\" o \"boton && x > 3\".\n";

struct Opciones
{
    quint16 puerto = 0;
    bool crudo = false;
    bool ayuda = false;
    QStringList resto;
    QString error;
};

Opciones leerOpciones(const QStringList &args, bool admiteCrudo)
{
    Opciones opciones;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            opciones.ayuda = true;
        } else if (arg == QLatin1String("--port")) {
            opciones.puerto = i + 1 < args.size() ? PuertosEnlace::interpretar(args.at(++i)) : 0;
            if (!opciones.puerto)
                opciones.error = QStringLiteral("--port necesita un número de puerto entre 1 y 65535.");
        } else if (admiteCrudo && arg == QLatin1String("--crudo")) {
            opciones.crudo = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            opciones.error = QStringLiteral("Opción desconocida: ") + arg;
        } else {
            opciones.resto.append(arg);
        }
    }
    return opciones;
}

// What an invalid frame shows of itself at most.
constexpr int EcoTramaInvalida = 200;

// Prints the report frames of every connection as they complete. Whatever
// comes from the network is printed with its control characters escaped.
class Monitor : public QObject
{
public:
    Monitor(bool crudo) : m_crudo(crudo), m_salida(stdout), m_errores(stderr)
    {
        connect(&m_servidor, &ServidorReportes::reporteRecibido, this,
                [this](const Reporte &reporte, const QByteArray &trama) {
                    const QString linea = m_crudo ? QString::fromLatin1(trama) : TramaEnlace::linea(reporte);
                    m_salida << TramaEnlace::visible(linea) << "\n" << Qt::flush;
                });
        connect(&m_servidor, &ServidorReportes::tramaInvalida, this, [this](const QByteArray &trama) {
            QString eco = TramaEnlace::visible(QString::fromLatin1(trama.left(EcoTramaInvalida)));
            if (trama.size() > EcoTramaInvalida)
                eco += QStringLiteral("...");
            m_errores << QStringLiteral("Trama no válida (%1 bytes): ").arg(trama.size()) << eco << "\n"
                      << Qt::flush;
        });
        connect(&m_servidor, &ServidorReportes::conexionCerrada, this, [this](const QString &motivo) {
            m_errores << motivo << "\n" << Qt::flush;
        });
    }

    bool escuchar(quint16 puerto)
    {
        if (m_servidor.escuchar(puerto))
            return true;
        m_errores << "No se puede escuchar en 127.0.0.1:" << puerto << ": " << m_servidor.errorString()
                  << "\n";
        return false;
    }

private:
    bool m_crudo;
    ServidorReportes m_servidor;
    QTextStream m_salida;
    QTextStream m_errores;
};

} // namespace

int cmdMonitor(const QStringList &args)
{
    const Opciones opciones = leerOpciones(args, true);
    QTextStream errores(stderr);
    if (opciones.ayuda) {
        QTextStream(stdout) << QString::fromUtf8(kUsoMonitor);
        return 0;
    }
    if (!opciones.error.isEmpty() || !opciones.resto.isEmpty()) {
        errores << (opciones.error.isEmpty() ? QStringLiteral("Argumento de más: ") + opciones.resto.first()
                                             : opciones.error)
                << "\n\n"
                << QString::fromUtf8(kUsoMonitor);
        return 2;
    }
    const quint16 puerto = opciones.puerto ? opciones.puerto : PuertosEnlace::reportes();
    Monitor monitor(opciones.crudo);
    if (!monitor.escuchar(puerto))
        return 1;
    errores << QStringLiteral("Escuchando la simulación en 127.0.0.1:") << puerto << " (Ctrl+C termina)\n"
            << Qt::flush;
    return QCoreApplication::exec();
}

int cmdSend(const QStringList &args)
{
    const Opciones opciones = leerOpciones(args, false);
    QTextStream errores(stderr);
    if (opciones.ayuda) {
        QTextStream(stdout) << QString::fromUtf8(kUsoSend);
        return 0;
    }
    if (!opciones.error.isEmpty() || opciones.resto.isEmpty()) {
        errores << (opciones.error.isEmpty() ? QStringLiteral("Falta el evento.") : opciones.error) << "\n\n"
                << QString::fromUtf8(kUsoSend);
        return 2;
    }
    QByteArray tramas;
    for (const QString &evento : opciones.resto) {
        if (evento.isEmpty() || evento.contains(QLatin1Char('@')) || evento.contains(QLatin1Char(':'))) {
            errores << QStringLiteral("El evento \"%1\" no puede enviarse: no puede estar vacío ni contener"
                                      " \"@\" ni \":\".\n")
                           .arg(evento);
            return 2;
        }
        tramas += TramaEnlace::evento(evento);
    }
    const quint16 puerto = opciones.puerto ? opciones.puerto : PuertosEnlace::eventos();
    QTcpSocket conexion;
    conexion.connectToHost(QHostAddress::LocalHost, puerto);
    if (!conexion.waitForConnected(3000)) {
        errores << "No se pudo conectar con Vireo en 127.0.0.1:" << puerto << ": " << conexion.errorString()
                << "\n";
        return 1;
    }
    conexion.write(tramas);
    while (conexion.bytesToWrite() > 0) {
        if (!conexion.waitForBytesWritten(3000)) {
            errores << "No se pudieron enviar los eventos: " << conexion.errorString() << "\n";
            return 1;
        }
    }
    conexion.disconnectFromHost();
    if (conexion.state() != QAbstractSocket::UnconnectedState)
        conexion.waitForDisconnected(3000);
    return 0;
}
