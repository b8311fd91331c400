#include "configurarpuerto.h"
#include "ui_configurarpuerto.h"

#include <QSerialPortInfo>

ConfigurarPuerto::ConfigurarPuerto(QWidget *parent) : QDialog(parent), ui(new Ui::ConfigurarPuerto)
{
    ui->setupUi(this);
    ui->labelEstadoConex->hide();
    ui->lineEditEstado->hide();
    cargarPuertos();
    mostrarEstado();
}

ConfigurarPuerto::~ConfigurarPuerto()
{
    delete ui;
}

void ConfigurarPuerto::cargarPuertos()
{
    ui->comboBoxPuertos->clear();
    const QList<QSerialPortInfo> puertos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &puerto : puertos)
        ui->comboBoxPuertos->addItem(puerto.portName(), puerto.portName());
}

// The dialog never opens the port, so it always reads as disconnected.
void ConfigurarPuerto::mostrarEstado()
{
    ui->lineEditEstado->setStyleSheet(
        QStringLiteral("font-weight: normal; color: white; background-color: red;"));
    ui->lineEditEstado->setText(tr("Desconectado"));
    ui->pushButtonConectar->setText(tr("Conectar"));
}

void ConfigurarPuerto::on_pushButtonConectar_clicked()
{
    m_nombrePuerto = ui->comboBoxPuertos->currentData().toString();
    accept();
}

void ConfigurarPuerto::on_pushButtonCancelar_clicked()
{
    reject();
}
