#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "clientereportes.h"
#include "puertosenlace.h"
#include "rebanadahilo.h"
#include "servidoreventos.h"
#include "simulacionc.h"

#include <QThread>

void MainWindow::iniciarServidor()
{
    m_hiloEnlace = new QThread(this);
    m_hiloEnlace->setObjectName(QStringLiteral("hiloEnlace"));
    m_clienteReportes = new ClienteReportes;
    m_relevoDepuracion = new RelevoDepuracion(m_clienteReportes);
    m_clienteReportes->moveToThread(m_hiloEnlace);
    m_relevoDepuracion->moveToThread(m_hiloEnlace);
    connect(m_hiloEnlace, &QThread::finished, m_clienteReportes, &QObject::deleteLater);
    connect(m_hiloEnlace, &QThread::finished, m_relevoDepuracion, &QObject::deleteLater);
    // The link's thread only ever runs for microseconds at a time: with a
    // short slice it takes a busy core at once when a line or an event
    // arrives, instead of waiting for the window to finish painting.
    connect(
        m_hiloEnlace, &QThread::started, m_hiloEnlace,
        []() { RebanadaHilo::pedir(RebanadaHilo::EnlaceMicrosegundos); }, Qt::DirectConnection);
    m_hiloEnlace->start();
    m_servidorEventos = new ServidorEventos(this);
    connect(m_servidorEventos, &ServidorEventos::eventosRecibidos, this,
            &MainWindow::aplicarEventosRecibidos);
    // A taken port (another Vireo running) only leaves the link without
    // incoming events; nothing else depends on it.
    m_servidorEventos->escuchar(PuertosEnlace::eventos());
}

// Every event of the read is applied and reported in order; the display is
// brought up to date once, after the last.
void MainWindow::aplicarEventosRecibidos(const QStringList &eventos)
{
    bool aplicados = false;
    for (const QString &evento : eventos)
        aplicados = aplicarEventoRecibido(evento) || aplicados;
    if (aplicados)
        mostrarDisparos();
}

void MainWindow::Analizar(const QString &eventoRecibido)
{
    if (aplicarEventoRecibido(eventoRecibido))
        mostrarDisparos();
}

bool MainWindow::aplicarEventoRecibido(const QString &evento)
{
    if (m_uiMode != Simular)
        return false;
    // In C mode a received event is one pass with that event alone true.
    if (m_modoC) {
        const int indice = m_simC->indiceEvento(evento);
        if (indice < 0)
            return false;
        QVector<bool> verdaderos(m_simC->eventos().size(), false);
        verdaderos[indice] = true;
        darPasoC(verdaderos);
        return true;
    }
    if (ui->tableWidgetSimEventos->findItems(evento, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty())
        return false;
    dispararEvento(evento);
    return true;
}

void MainWindow::enviarTrama(const QByteArray &trama)
{
    if (trama.isEmpty())
        return;
    ClienteReportes *cliente = m_clienteReportes;
    QMetaObject::invokeMethod(cliente, [cliente, trama]() { cliente->enviar(trama); });
}

// The link's objects are deleted in their thread as it finishes.
void MainWindow::terminarEnlace()
{
    m_hiloEnlace->quit();
    m_hiloEnlace->wait();
    m_clienteReportes = nullptr;
    m_relevoDepuracion = nullptr;
}
