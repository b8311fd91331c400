#include "configurarpuerto.h"
#include "ui_configurarpuerto.h"

#include <QIntValidator>
#include <QSerialPortInfo>

namespace {

const qint32 kVelocidades[] = {9600, 19200, 38400, 57600, 115200, 230400};

} // namespace

ConfigurarPuerto::ConfigurarPuerto(QWidget *parent) : QDialog(parent), ui(new Ui::ConfigurarPuerto)
{
    ui->setupUi(this);
    ui->labelEstadoConex->hide();
    ui->lineEditEstado->hide();
    cargarPuertos();
    for (qint32 velocidad : kVelocidades)
        ui->comboBoxVelocidad->addItem(QString::number(velocidad));
    ui->comboBoxVelocidad->setValidator(new QIntValidator(1, 100000000, this));
    setDatos(QString(), m_velocidad);
    mostrarEstado();
}

void ConfigurarPuerto::setDatos(const QString &puerto, qint32 velocidad)
{
    const int indice = ui->comboBoxPuertos->findData(puerto);
    if (indice >= 0)
        ui->comboBoxPuertos->setCurrentIndex(indice);
    else if (!puerto.isEmpty())
        ui->comboBoxPuertos->setEditText(puerto);
    m_velocidad = velocidad > 0 ? velocidad : 115200;
    ui->comboBoxVelocidad->setEditText(QString::number(m_velocidad));
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
    // A typed path is taken as it is; a listed port by its name.
    const QString texto = ui->comboBoxPuertos->currentText().trimmed();
    const int indice = ui->comboBoxPuertos->findText(texto);
    m_nombrePuerto = indice >= 0 ? ui->comboBoxPuertos->itemData(indice).toString() : texto;
    const qint32 velocidad = ui->comboBoxVelocidad->currentText().toInt();
    if (velocidad > 0)
        m_velocidad = velocidad;
    accept();
}

void ConfigurarPuerto::on_pushButtonCancelar_clicked()
{
    reject();
}
