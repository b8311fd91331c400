#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "arrow.h"
#include "caminosestados.h"
#include "diagramitem.h"
#include "diagramscene.h"
#include "proyecto.h"
#include "verificacion.h"
#include "xmlhandler.h"

#include <QGraphicsView>
#include <QHash>

namespace {

// Data of a finding entry: machine and state, then the transitions it names.
const int kRolReferencia = Qt::UserRole;

const QString kSinSalida = QStringLiteral("Chequeo de estados sin salida");
const QString kSinActivar = QStringLiteral("Chequeo de estados sin activar");
const QString kConflictos = QStringLiteral("Chequeo de transiciones en conflicto");

QTreeWidgetItem *entrada(QTreeWidget *arbol, const QString &texto)
{
    for (int i = 0; i < arbol->topLevelItemCount(); ++i) {
        if (arbol->topLevelItem(i)->text(0) == texto)
            return arbol->topLevelItem(i);
    }
    return nullptr;
}

QString textoCamino(const CaminosEstados &caminos, int maquina, int estado)
{
    return QStringLiteral("Camino desde el reset: ") + caminos.texto(maquina, estado);
}

} // namespace

// Each finding about a state learns which state it is, and shows in its tool
// tip the shortest way there from reset; a conflict also learns its two
// transitions. States are found by the text the finding shows: names are
// unique in their machine ignoring case, and the finding shows them in upper
// case.
void MainWindow::anotarHallazgos(const Verificacion &verificacion)
{
    const ::Proyecto proyecto = ::Proyecto::desdeDocumento(*m_datosXml);
    const CaminosEstados caminos(proyecto);
    QHash<QString, QPair<int, int>> estados;
    for (int k = 0; k < proyecto.cantidadMaquinas(); ++k) {
        const ::Maquina &maquina = proyecto.maquina(k);
        for (int i = 0; i < maquina.estados.size(); ++i) {
            const QString texto = maquina.estados.at(i).nombre.toUpper() + QStringLiteral(" [") +
                                  maquina.nombre + QLatin1Char(']');
            if (!estados.contains(texto))
                estados.insert(texto, qMakePair(k, i));
        }
    }
    for (const QString &chequeo : {kSinSalida, kSinActivar}) {
        QTreeWidgetItem *padre = entrada(ui->treeWidgetVerificar, chequeo);
        for (int n = 0; padre && n < padre->childCount(); ++n) {
            QTreeWidgetItem *hallazgo = padre->child(n);
            const auto estado = estados.constFind(hallazgo->text(0));
            if (estado == estados.constEnd())
                continue;
            hallazgo->setData(0, kRolReferencia, QVariantList{estado->first, estado->second});
            hallazgo->setToolTip(0, hallazgo->text(0) + QLatin1Char('\n') +
                                        textoCamino(caminos, estado->first, estado->second));
        }
    }
    QTreeWidgetItem *padre = entrada(ui->treeWidgetVerificar, kConflictos);
    const QVector<ConflictoTransiciones> &conflictos = verificacion.conflictos();
    for (int n = 0; padre && n < padre->childCount() && n < conflictos.size(); ++n) {
        const ConflictoTransiciones &c = conflictos.at(n);
        QTreeWidgetItem *hallazgo = padre->child(n);
        hallazgo->setData(0, kRolReferencia, QVariantList{c.maquina, c.estado, c.primera, c.segunda});
        hallazgo->setToolTip(
            0, hallazgo->text(0) + QLatin1Char('\n') + textoCamino(caminos, c.maquina, c.estado) +
                   QStringLiteral("\nEn el código C generado, cuando las dos son verdaderas en el "
                                  "mismo paso, solo se toma la primera."));
    }
}

void MainWindow::on_treeWidgetVerificar_itemDoubleClicked(QTreeWidgetItem *item, int column)
{
    Q_UNUSED(column)
    const QVariantList referencia = item ? item->data(0, kRolReferencia).toList() : QVariantList();
    if (referencia.size() < 2)
        return;
    const int maquina = referencia.at(0).toInt();
    const int indiceEstado = referencia.at(1).toInt();
    DiagramScene *scene = m_sceneList.value(maquina, nullptr);
    DiagramItem *estado = scene ? scene->itemList().value(indiceEstado, nullptr) : nullptr;
    if (!estado)
        return;
    mostrarMaquina(scene->name());
    scene->clearSelection();
    QGraphicsItem *visible = estado;
    if (referencia.size() == 2) {
        estado->setSelected(true);
    } else {
        for (int n = 2; n < referencia.size(); ++n) {
            if (Arrow *arrow = flechaDeTransicion(maquina, indiceEstado, referencia.at(n).toInt())) {
                arrow->setSelected(true);
                visible = arrow;
            }
        }
    }
    if (QGraphicsView *vista = viewOf(scene))
        vista->ensureVisible(visible);
}
