#include "dialognuevoproyecto.h"
#include "ui_dialognuevoproyecto.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace {

const char *const AVISO_CREAR_CARPETA = "El programa va a crear la carpeta especificada.";
const char *const AVISO_CARPETA_FALLIDA = "No se pudo crear la carpeta. Verificar el nombre ingresado.";
const char *const AVISO_PROYECTO_EXISTE = "Ya existe un Proyecto con el mismo nombre.";

} // namespace

DialogNuevoProyecto::DialogNuevoProyecto(QWidget *parent) : QDialog(parent), ui(new Ui::DialogNuevoProyecto)
{
    ui->setupUi(this);
    const QRegularExpression nombre(QStringLiteral("[A-Za-z0-9\\-_().]+"));
    const QRegularExpression carpeta(QStringLiteral("[A-Za-z0-9\\-_().:/]+"));
    ui->lineEditNombre->setValidator(new QRegularExpressionValidator(nombre, this));
    ui->lineEditAutor->setValidator(new QRegularExpressionValidator(nombre, this));
    ui->lineEditCarpeta->setValidator(new QRegularExpressionValidator(carpeta, this));
    connect(ui->pushButtonCancelar, &QPushButton::clicked, this, &QDialog::reject);

    ui->pushButtonCrear->setEnabled(false);
    ui->lineEditCarpeta->setText(QDir::homePath() + QStringLiteral("/Vireo"));
    on_lineEditCarpeta_textChanged(ui->lineEditCarpeta->text());
}

DialogNuevoProyecto::~DialogNuevoProyecto()
{
    delete ui;
}

QStringList DialogNuevoProyecto::selectedData() const
{
    return {ui->lineEditNombre->text(), ui->lineEditAutor->text(), carpeta()};
}

QString DialogNuevoProyecto::carpeta() const
{
    const QString texto = ui->lineEditCarpeta->text();
    if (texto.isEmpty())
        return texto;
    // A relative folder is taken from the home folder, where the dialog
    // starts, not from wherever Vireo happened to be started.
    return QDir::cleanPath(QDir::fromNativeSeparators(QDir::home().absoluteFilePath(texto)));
}

void DialogNuevoProyecto::on_lineEditNombre_textChanged(const QString &nombre)
{
    ui->pushButtonCrear->setEnabled(!nombre.isEmpty());
    // A refusal for the previous name must not stay on screen for a new one.
    if (ui->labelAvisoCarpeta->text() == QLatin1String(AVISO_PROYECTO_EXISTE))
        on_lineEditCarpeta_textChanged(ui->lineEditCarpeta->text());
}

void DialogNuevoProyecto::on_lineEditCarpeta_textChanged(const QString &)
{
    const QString ruta = carpeta();
    const bool existe = !ruta.isEmpty() && QFileInfo(ruta).isDir();
    ui->labelAvisoCarpeta->setText(existe ? QString() : QString::fromUtf8(AVISO_CREAR_CARPETA));
}

void DialogNuevoProyecto::on_pushButtonBuscar_clicked()
{
    const QString elegida = QFileDialog::getExistingDirectory(this, QStringLiteral("Crear en"),
                                                              QDir::homePath(), QFileDialog::ShowDirsOnly);
    if (!elegida.isEmpty())
        ui->lineEditCarpeta->setText(QDir::fromNativeSeparators(elegida));
}

void DialogNuevoProyecto::on_pushButtonCrear_clicked()
{
    const QString carpeta = this->carpeta();
    if (!ui->labelAvisoCarpeta->text().isEmpty() || !QFileInfo(carpeta).isDir()) {
        if (carpeta.isEmpty() || !QDir().mkpath(carpeta) || !QFileInfo(carpeta).isDir()) {
            ui->labelAvisoCarpeta->setText(QString::fromUtf8(AVISO_CARPETA_FALLIDA));
            return;
        }
        ui->labelAvisoCarpeta->clear();
    }
    if (QFileInfo::exists(carpeta + QLatin1Char('/') + ui->lineEditNombre->text() + QStringLiteral(".vro"))) {
        ui->labelAvisoCarpeta->setText(QString::fromUtf8(AVISO_PROYECTO_EXISTE));
        return;
    }
    accept();
}
