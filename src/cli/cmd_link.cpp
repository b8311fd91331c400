#include "commands.h"

#include "puertosenlace.h"
#include "tramaenlace.h"

#include <QCoreApplication>
#include <QHash>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>

namespace {

const char *const kUsoMonitor = "Uso: vireo-cli monitor [--port PUERTO] [--crudo]\n"
                                "\n"
                                "Escucha en 127.0.0.1 (puerto 8000, o VIREO_PUERTO_REPORTES) los pasos que\n"
                                "envía una simulación de Vireo y muestra cada uno en una línea:\n"
                                "  maquina: estado --evento--> proximo estado / acciones\n"
                                "  (reset)\n"
                                "Con --crudo muestra las tramas tal como llegan. Ctrl+C termina.\n";

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

// Prints the report frames of every connection as they complete.
class Monitor : public QObject
{
public:
    Monitor(bool crudo) : m_crudo(crudo), m_salida(stdout), m_errores(stderr) {}

    bool escuchar(quint16 puerto)
    {
        connect(&m_servidor, &QTcpServer::newConnection, this, &Monitor::aceptar);
        if (m_servidor.listen(QHostAddress::LocalHost, puerto))
            return true;
        m_errores << "No se puede escuchar en 127.0.0.1:" << puerto << ": " << m_servidor.errorString()
                  << "\n";
        return false;
    }

private:
    void aceptar()
    {
        while (QTcpSocket *conexion = m_servidor.nextPendingConnection()) {
            connect(conexion, &QTcpSocket::readyRead, this, [this, conexion]() { leer(conexion); });
            connect(conexion, &QTcpSocket::disconnected, this, [this, conexion]() {
                leer(conexion);
                m_pendiente.remove(conexion);
                conexion->deleteLater();
            });
        }
    }

    void leer(QTcpSocket *conexion)
    {
        QByteArray &datos = m_pendiente[conexion];
        datos += conexion->readAll();
        int pos = 0;
        for (;;) {
            const LecturaReporte lectura = TramaEnlace::leerReporte(datos, pos);
            if (lectura.estado == LecturaReporte::Incompleta)
                break;
            const QByteArray trama = datos.mid(pos, lectura.consumidos);
            if (lectura.estado == LecturaReporte::Invalida)
                m_errores << QStringLiteral("Trama no válida: ") << QString::fromLatin1(trama) << "\n"
                          << Qt::flush;
            else
                m_salida << (m_crudo ? QString::fromLatin1(trama) : TramaEnlace::linea(lectura.reporte))
                         << "\n"
                         << Qt::flush;
            pos += lectura.consumidos;
        }
        datos = datos.mid(pos);
    }

    bool m_crudo;
    QTcpServer m_servidor;
    QHash<QTcpSocket *, QByteArray> m_pendiente;
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
