#include "panelescenario.h"
#include "ui_panelescenario.h"

#include "escenario.h"

#include <QFileInfo>
#include <QHeaderView>

namespace {

const QColor kVerde(QStringLiteral("#1b7a1b"));
const QColor kRojo(QStringLiteral("#b00020"));

} // namespace

PanelEscenario::PanelEscenario(QWidget *parent) : QWidget(parent), ui(new Ui::PanelEscenario)
{
    ui->setupUi(this);
    ui->treeWidgetPasos->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    ui->treeWidgetPasos->header()->setStretchLastSection(true);
}

PanelEscenario::~PanelEscenario()
{
    delete ui;
}

void PanelEscenario::mostrar(const Escenario &escenario)
{
    ui->labelArchivo->setText(QFileInfo(escenario.nombre()).fileName());
    ui->labelArchivo->setToolTip(escenario.nombre());
    ui->labelResumen->clear();
    QTreeWidget *arbol = ui->treeWidgetPasos;
    arbol->clear();
    for (const PasoEscenario &paso : escenario.pasos()) {
        auto *fila = new QTreeWidgetItem(
            arbol, {QString::number(paso.linea), Escenario::lineaDe(paso, escenario.modo()), QString()});
        fila->setFlags(Qt::ItemIsEnabled);
        fila->setToolTip(1, fila->text(1));
    }
    arbol->resizeColumnToContents(1);
}

void PanelEscenario::marcar(int paso, Marca marca, const QString &resultado)
{
    QTreeWidgetItem *fila = ui->treeWidgetPasos->topLevelItem(paso);
    if (!fila)
        return;
    fila->setText(2, resultado);
    fila->setToolTip(2, resultado);
    if (marca != Marca::Hecho) {
        const bool cumplido = marca == Marca::Cumplido;
        fila->setIcon(2, QIcon(cumplido ? QStringLiteral(":/img/img/tick.png")
                                        : QStringLiteral(":/img/img/error.png")));
        for (int c = 0; c < fila->columnCount(); ++c)
            fila->setForeground(c, cumplido ? kVerde : kRojo);
        fila->setData(0, Qt::UserRole, cumplido);
    }
    ui->treeWidgetPasos->scrollToItem(fila);
}

void PanelEscenario::setResumen(const QString &resumen)
{
    ui->labelResumen->setText(resumen);
}

QString PanelEscenario::resumen() const
{
    return ui->labelResumen->text();
}

QStringList PanelEscenario::filas() const
{
    QStringList filas;
    for (int i = 0; i < ui->treeWidgetPasos->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *fila = ui->treeWidgetPasos->topLevelItem(i);
        filas.append(fila->text(0) + QLatin1Char('|') + fila->text(1) + QLatin1Char('|') + fila->text(2));
    }
    return filas;
}

int PanelEscenario::fallidos() const
{
    int cantidad = 0;
    for (int i = 0; i < ui->treeWidgetPasos->topLevelItemCount(); ++i) {
        const QVariant marca = ui->treeWidgetPasos->topLevelItem(i)->data(0, Qt::UserRole);
        cantidad += marca.isValid() && !marca.toBool() ? 1 : 0;
    }
    return cantidad;
}
