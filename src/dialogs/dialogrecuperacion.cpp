#include "dialogrecuperacion.h"
#include "ui_dialogrecuperacion.h"

#include <QDir>
#include <QIcon>
#include <QPushButton>
#include <QStyle>

namespace {

QString textoDe(const ArchivoRecuperacion::Pendiente &pendiente)
{
    const QString fecha = pendiente.fecha.toString(QStringLiteral("dd-MM-yyyy hh:mm:ss"));
    const QString archivo =
        QDir::toNativeSeparators(pendiente.original.isEmpty() ? pendiente.ruta : pendiente.original);
    if (pendiente.problema.isEmpty())
        return QStringLiteral("%1\nCambios sin guardar del %2").arg(archivo, fecha);
    return QStringLiteral("%1\nNo se puede recuperar la copia del %2. Motivo: %3")
        .arg(archivo, fecha, pendiente.problema);
}

} // namespace

DialogRecuperacion::DialogRecuperacion(const QList<ArchivoRecuperacion::Pendiente> &pendientes,
                                       QWidget *parent)
    : QDialog(parent), ui(new Ui::DialogRecuperacion), m_pendientes(pendientes)
{
    ui->setupUi(this);
    connect(ui->listWidgetCopias, &QListWidget::currentRowChanged, this,
            &DialogRecuperacion::actualizarBotones);
    connect(ui->listWidgetCopias, &QListWidget::itemDoubleClicked, this, [this] {
        if (ui->pushButtonRecuperar->isEnabled())
            accept();
    });
    connect(ui->pushButtonRecuperar, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->pushButtonConservar, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->pushButtonDescartar, &QPushButton::clicked, this, &DialogRecuperacion::descartarElegida);
    llenarLista();
}

DialogRecuperacion::~DialogRecuperacion()
{
    delete ui;
}

ArchivoRecuperacion::Pendiente DialogRecuperacion::elegida() const
{
    return m_pendientes.value(ui->listWidgetCopias->currentRow());
}

void DialogRecuperacion::llenarLista()
{
    ui->listWidgetCopias->clear();
    const QIcon danada = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (const ArchivoRecuperacion::Pendiente &pendiente : qAsConst(m_pendientes)) {
        auto *item = new QListWidgetItem(textoDe(pendiente), ui->listWidgetCopias);
        if (!pendiente.problema.isEmpty())
            item->setIcon(danada);
    }
    // The newest copy that can be recovered is the likeliest wanted.
    int fila = m_pendientes.size() - 1;
    while (fila > 0 && !m_pendientes.at(fila).problema.isEmpty())
        --fila;
    ui->listWidgetCopias->setCurrentRow(fila);
    actualizarBotones();
}

void DialogRecuperacion::actualizarBotones()
{
    const int fila = ui->listWidgetCopias->currentRow();
    ui->pushButtonDescartar->setEnabled(fila >= 0);
    ui->pushButtonRecuperar->setEnabled(fila >= 0 && m_pendientes.at(fila).problema.isEmpty());
}

void DialogRecuperacion::descartarElegida()
{
    const int fila = ui->listWidgetCopias->currentRow();
    if (fila < 0)
        return;
    emit descartada(m_pendientes.takeAt(fila));
    if (m_pendientes.isEmpty()) {
        reject();
        return;
    }
    llenarLista();
}
