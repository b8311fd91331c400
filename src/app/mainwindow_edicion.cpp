#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "arrow.h"
#include "dialogeditorestado.h"
#include "dialogtransicion.h"
#include "regexpinputdialog.h"
#include "validadornombre.h"
#include "xmlhandler.h"

#include <QFontMetricsF>
#include <QGraphicsView>
#include <QHeaderView>
#include <QInputDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSet>
#include <functional>

#define DEFAULT_NAME_NUEVA_MAQUINA "MdE"
#define DEFAULT_NAME_NUEVO_ESTADO "ESTADO"

namespace {

const char *const kPatronNombre = "[A-Za-z0-9-_ñÑ ]+";
const char *const kTituloTabla = "Tabla de Estados y Transiciones";

// Every machine window, shown or hidden.
void paraCadaVentana(QMdiArea *area, const std::function<void(DiagramScene *, QGraphicsView *)> &accion)
{
    const QList<QMdiSubWindow *> ventanas = area->subWindowList();
    for (QMdiSubWindow *ventana : ventanas) {
        if (DiagramScene *scene = MainWindow::sceneOfWindow(ventana))
            accion(scene, MainWindow::viewOfWindow(ventana));
    }
}

// The first candidate that is free: the name itself, the name + "1" when it is
// the default name, then the name + 2, + 3, ...
QString nombreUnico(const QString &nombre, const QString &porDefecto,
                    const std::function<bool(const QString &)> &estaLibre)
{
    for (int i = 1;; ++i) {
        QString candidato = nombre;
        if (i == 1 && nombre.compare(porDefecto, Qt::CaseInsensitive) == 0)
            candidato += QLatin1Char('1');
        else if (i > 1)
            candidato += QString::number(i);
        if (estaLibre(candidato))
            return candidato;
    }
}

// Asks a Si/No question; true for "Si".
bool confirmar(QWidget *parent, const QString &titulo, const QString &texto, const QString &icono)
{
    QMessageBox box(QMessageBox::Warning, titulo, texto, QMessageBox::NoButton, parent);
    box.setWindowIcon(QIcon(icono));
    QPushButton *si = box.addButton(QStringLiteral("Si"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("No"), QMessageBox::RejectRole);
    box.exec();
    return box.clickedButton() == si;
}

// Everything the transition editor may declare or remove, in document order.
QStringList catalogoEditable(const XmlHandler &datos)
{
    return datos.getNombresEventosDefinidos() + QStringList{QString()} + datos.getNombresAccionesDefinidas() +
           QStringList{QString()} + datos.getNombresVariablesDefinidas();
}

QTableWidgetItem *celda(const QString &texto)
{
    auto *item = new QTableWidgetItem(texto);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

// Characters drawn with the table's own font, none of them a line break.
bool enLaFuente(const QString &texto, const QFontMetricsF &metricas)
{
    for (const QChar c : texto) {
        const ushort u = c.unicode();
        if ((u < 0x20 || u > 0x7e) && (u < 0xa0 || u > 0xff || !metricas.inFont(c)))
            return false;
    }
    return true;
}

// Sets each row of tabla to the height of its contents. Laying out every
// cell's text to measure it takes most of the time of listing a large
// machine: a row whose cells surely hold one line each (text in the table's
// font, narrower than its column with room for the margins and the overhang
// of any glyph) gets the height the view measured for the first such row;
// the view measures only the others.
void ajustarAlturas(QTableWidget *tabla)
{
    // The font and the style the view measures with are those of the polished table.
    tabla->ensurePolished();
    const QFontMetricsF metricas(tabla->font());
    const int margenes = 2 * (tabla->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tabla) + 1);
    const qreal sobrante = margenes + qMax(qreal(0), -metricas.minRightBearing()) + 1;
    QHash<QString, qreal> anchos;
    const auto unaLinea = [&](int fila) {
        for (int columna = 0; columna < tabla->columnCount(); ++columna) {
            const QTableWidgetItem *item = tabla->item(fila, columna);
            const QString texto = item ? item->text() : QString();
            if (texto.isEmpty() || !enLaFuente(texto, metricas))
                return false;
            auto ancho = anchos.constFind(texto);
            if (ancho == anchos.constEnd())
                ancho = anchos.insert(texto, metricas.horizontalAdvance(texto));
            if (*ancho + sobrante > tabla->columnWidth(columna))
                return false;
        }
        return true;
    };
    int altura = -1;
    for (int fila = 0; fila < tabla->rowCount(); ++fila) {
        if (altura >= 0 && unaLinea(fila)) {
            tabla->setRowHeight(fila, altura);
            continue;
        }
        tabla->resizeRowToContents(fila);
        if (altura < 0 && unaLinea(fila))
            altura = tabla->rowHeight(fila);
    }
}

} // namespace

QString MainWindow::getNameNuevaMaquina()
{
    return pedirNombre(QStringLiteral("Nueva Máquina de Estados"),
                       uniqueNameMaquina(QStringLiteral(DEFAULT_NAME_NUEVA_MAQUINA)),
                       QStringLiteral(":/img/img/application_add.png"), true);
}

QString MainWindow::getNameNuevoEstado()
{
    return pedirNombre(QStringLiteral("Nuevo Estado"),
                       uniqueNameEstado(QStringLiteral(DEFAULT_NAME_NUEVO_ESTADO)),
                       QStringLiteral(":/img/img/add_box.png"), false);
}

QString MainWindow::pedirNombre(const QString &titulo, const QString &inicial, const QString &icono,
                                bool esMaquina)
{
    bool ok = false;
    const QHash<QString, QString> otras = esMaquina ? QHash<QString, QString>() : estadosDeOtrasMaquinas();
    const auto validacion = [esMaquina, &otras](const QString &texto) {
        const QString nombre = ValidadorNombre::normalizar(texto);
        return esMaquina ? ValidadorNombre::problema(nombre) : ValidadorNombre::problemaEstado(nombre, otras);
    };
    QString texto = RegExpInputDialog::getText(this, titulo, QStringLiteral("Definir el nombre:"), inicial,
                                               QRegExp(QString::fromUtf8(kPatronNombre)), &ok, QIcon(icono),
                                               Qt::Dialog, validacion);
    texto = ValidadorNombre::normalizar(texto);
    if (!ok || texto.isEmpty())
        return QString();
    return esMaquina ? uniqueNameMaquina(texto) : uniqueNameEstado(texto);
}

QString MainWindow::uniqueNameMaquina(const QString &nombre)
{
    return nombreUnico(nombre, QStringLiteral(DEFAULT_NAME_NUEVA_MAQUINA),
                       [this](const QString &candidato) { return indexOfMaquina(candidato) == -1; });
}

// Unique in the whole project, not only in the active machine: the generated
// C defines every state of every machine under its upper-case name.
QString MainWindow::uniqueNameEstado(const QString &nombre)
{
    QSet<QString> ocupados;
    for (const DiagramScene *scene : qAsConst(m_sceneList)) {
        const QList<DiagramItem *> estados = scene->itemList();
        for (const DiagramItem *estado : estados)
            ocupados.insert(estado->name().toUpper());
    }
    return nombreUnico(
        nombre, QStringLiteral(DEFAULT_NAME_NUEVO_ESTADO),
        [&ocupados](const QString &candidato) { return !ocupados.contains(candidato.toUpper()); });
}

QHash<QString, QString> MainWindow::estadosDeOtrasMaquinas(const DiagramScene *excepto) const
{
    if (!excepto)
        excepto = activeScene();
    QHash<QString, QString> otras;
    for (const DiagramScene *scene : m_sceneList) {
        if (scene == excepto)
            continue;
        const QList<DiagramItem *> estados = scene->itemList();
        for (const DiagramItem *estado : estados)
            otras.insert(estado->name().toUpper(), scene->name());
    }
    return otras;
}

int MainWindow::indexOfMaquina(const QString &nombre) const
{
    for (int i = 0; i < m_sceneList.size(); ++i) {
        if (m_sceneList.at(i)->name().compare(nombre, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int MainWindow::indexOfEstado(const QString &nombreMaquina, const QString &nombreEstado) const
{
    const QList<QMdiSubWindow *> ventanas = ui->mdiArea->subWindowList();
    for (QMdiSubWindow *ventana : ventanas) {
        DiagramScene *scene = sceneOfWindow(ventana);
        if (!scene || scene->name().compare(nombreMaquina, Qt::CaseInsensitive) != 0)
            continue;
        const QList<DiagramItem *> estados = scene->itemList();
        for (int i = 0; i < estados.size(); ++i) {
            if (estados.at(i)->name().compare(nombreEstado, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }
    return -1;
}

void MainWindow::on_actionNuevaMaquina_triggered()
{
    const QString nombre = getNameNuevaMaquina();
    if (nombre.isEmpty())
        return;
    initSubWindow(nombre);
    uiEnable();
    updateExploradorProyecto(Proyecto);
    registrarPaso(QStringLiteral("Nueva máquina"));
}

void MainWindow::on_actionEliminarMaquina_triggered()
{
    QMdiSubWindow *ventana = ui->mdiArea->activeSubWindow();
    DiagramScene *scene = sceneOfWindow(ventana);
    if (!scene)
        return;
    if (!confirmar(this, QStringLiteral("Eliminar Máquina: ") + scene->name(),
                   QStringLiteral("¿Está seguro que desea eliminar la Máquina de Estados completa?"),
                   QStringLiteral(":/img/img/application_delete.png")))
        return;

    quitarEscena(scene);
    updateExploradorProyecto(Sistema);

    if (m_sceneList.isEmpty())
        deshabilitarEdicion();
    registrarPaso(QStringLiteral("Eliminar máquina"));
}

void MainWindow::quitarEscena(DiagramScene *scene)
{
    m_sceneList.removeOne(scene);
    const QList<QMdiSubWindow *> ventanas = ui->mdiArea->subWindowList();
    for (QMdiSubWindow *ventana : ventanas) {
        if (sceneOfWindow(ventana) != scene)
            continue;
        ventana->close();
        ui->mdiArea->removeSubWindow(ventana);
        delete ventana;
    }
    scene->clearDiagram();
    delete scene;
}

void MainWindow::deshabilitarEdicion()
{
    const QList<QAction *> acciones{ui->actionEliminarMaquina, ui->actionSeleccionar,
                                    ui->actionNuevaTransicion, ui->actionNuevoEstado,
                                    ui->actionEstadoInicial,   ui->actionEliminarElemento,
                                    ui->actionGenerarCodigo,   ui->actionGenerarDocumentacion,
                                    ui->actionSimular,         ui->actionTerminarSimulacion,
                                    ui->actionVerificar};
    for (QAction *accion : acciones)
        accion->setEnabled(false);
    ui->tableWidgetTransiciones->setRowCount(0);
    ui->dockWidgetTransiciones->setWindowTitle(QString::fromUtf8(kTituloTabla));
}

void MainWindow::on_actionSeleccionar_triggered()
{
    paraCadaVentana(ui->mdiArea, [](DiagramScene *scene, QGraphicsView *vista) {
        scene->setMode(DiagramScene::MoveItem);
        vista->viewport()->setCursor(Qt::ArrowCursor);
        vista->viewport()->update();
        vista->setDragMode(QGraphicsView::RubberBandDrag);
    });
    if (!ui->actionSeleccionar->isChecked())
        ui->actionSeleccionar->setChecked(true);
}

void MainWindow::on_actionNuevoEstado_triggered()
{
    paraCadaVentana(ui->mdiArea, [](DiagramScene *scene, QGraphicsView *vista) {
        scene->setItemType(DiagramItem::EstadoSimple);
        scene->setMode(DiagramScene::InsertItem);
        scene->clearSelection();
        vista->viewport()->setCursor(Qt::CrossCursor);
        vista->setDragMode(QGraphicsView::NoDrag);
    });
}

void MainWindow::on_actionNuevaTransicion_triggered()
{
    QMdiSubWindow *ventana = ui->mdiArea->activeSubWindow();
    DiagramScene *scene = sceneOfWindow(ventana);
    if (!scene)
        return;
    QGraphicsView *vista = viewOfWindow(ventana);
    scene->setMode(DiagramScene::InsertLineStart);
    vista->viewport()->setCursor(Qt::CrossCursor);
    vista->setDragMode(QGraphicsView::NoDrag);
}

void MainWindow::on_actionEstadoInicial_triggered()
{
    DiagramScene *scene = activeScene();
    if (!scene) {
        ui->actionSeleccionar->trigger();
        return;
    }
    const QList<DiagramItem *> estados = scene->itemList();
    QStringList nombres;
    for (DiagramItem *estado : estados)
        nombres << estado->name().toUpper();
    if (nombres.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Advertencia: ") + scene->name(),
                             QStringLiteral("No hay ningún estado definido para seleccionar como inicial."));
        ui->actionSeleccionar->trigger();
        return;
    }

    QInputDialog dialogo(this, Qt::Dialog);
    dialogo.setOkButtonText(QStringLiteral("Aceptar"));
    dialogo.setCancelButtonText(QStringLiteral("Cancelar"));
    dialogo.setFont(QFont(QStringLiteral("MS Shell Dlg 2"), 9));
    dialogo.setOption(QInputDialog::UseListViewForComboBoxItems);
    dialogo.setWindowTitle(scene->name());
    dialogo.setLabelText(QStringLiteral("Seleccionar el Estado Inicial:"));
    dialogo.setComboBoxItems(nombres);
    if (dialogo.exec() != QDialog::Accepted) {
        ui->actionSeleccionar->trigger();
        return;
    }

    const int index = nombres.indexOf(dialogo.textValue());
    if (index < 0) {
        ui->actionSeleccionar->trigger();
        return;
    }
    for (DiagramItem *estado : estados)
        estado->setInicial(false);
    estados.at(index)->setInicial(true);
    scene->insertInitialStateItem(index);

    // A cancelled editor of the new initial transition cancels the whole
    // command: the previous initial state comes back.
    if (!scene->initialStateItem()) {
        restaurarActual();
    } else {
        updateTablaTransiciones(scene);
        updateExploradorProyecto(Sistema);
        registrarPaso(QStringLiteral("Estado inicial"));
    }
    ui->actionSeleccionar->trigger();
}

void MainWindow::on_actionEliminarElemento_triggered()
{
    DiagramScene *scene = activeScene();
    if (!scene || scene->selectedItems().isEmpty())
        return;
    if (!confirmar(this, QStringLiteral("Borrar Elemento"),
                   QStringLiteral("¿Está seguro que desea eliminar el Elemento del Diagrama?"),
                   QStringLiteral(":/img/img/cross.png")))
        return;
    const QString paso = textoEliminacion(scene);
    scene->removeSelectedItems();
    updateTablaTransiciones(scene);
    updateExploradorProyecto(Proyecto);
    registrarPaso(paso);
}

QString MainWindow::textoEliminacion(const DiagramScene *scene) const
{
    int estados = 0;
    int transiciones = 0;
    for (QGraphicsItem *item : scene->selectedItems()) {
        const auto *estado = qgraphicsitem_cast<DiagramItem *>(item);
        estados += estado && estado->diagramType() == DiagramItem::EstadoSimple ? 1 : 0;
        transiciones += qgraphicsitem_cast<Arrow *>(item) ? 1 : 0;
    }
    if (estados == 1 && transiciones == 0)
        return QStringLiteral("Eliminar estado");
    if (estados == 0 && transiciones == 1)
        return QStringLiteral("Eliminar transición");
    return QStringLiteral("Eliminar elementos");
}

void MainWindow::on_mdiArea_subWindowActivated(QMdiSubWindow *window)
{
    if (!window)
        return;
    mostrarZoom(window);
    updateTablaTransiciones(sceneOfWindow(window));
    if (ui->actionNuevaTransicion->isChecked())
        ui->actionSeleccionar->trigger();
}

void MainWindow::on_itemInserted(DiagramItem *item)
{
    auto *scene = qobject_cast<DiagramScene *>(item->scene());
    activarVentanaDe(scene);
    const QString nombre = getNameNuevoEstado();
    if (nombre.isEmpty()) {
        scene->removeSelectedItems();
    } else {
        item->setName(nombre);
        updateExploradorProyecto(Sistema);
        updateTablaTransiciones(scene);
        registrarPaso(QStringLiteral("Nuevo estado"));
    }
    ui->actionSeleccionar->trigger();
}

// The new state is named after the machine it was clicked into, which must
// therefore be the active one while the name is asked for.
void MainWindow::activarVentanaDe(DiagramScene *scene)
{
    const QList<QMdiSubWindow *> ventanas = ui->mdiArea->subWindowList();
    for (QMdiSubWindow *ventana : ventanas) {
        if (sceneOfWindow(ventana) == scene && ui->mdiArea->activeSubWindow() != ventana)
            ui->mdiArea->setActiveSubWindow(ventana);
    }
}

void MainWindow::on_arrowInserted(Arrow *arrow)
{
    editarTransicion(arrow, true);
}

void MainWindow::on_arrowDoubleClicked(Arrow *arrow)
{
    editarTransicion(arrow, false);
}

void MainWindow::editarTransicion(Arrow *arrow, bool nueva)
{
    auto *scene = qobject_cast<DiagramScene *>(arrow->scene());
    const bool inicial = arrow->startItem()->diagramType() == DiagramItem::EstadoInicial;
    const QStringList catalogo = catalogoEditable(*m_datosXml);
    DialogTransicion dialogo(this);
    dialogo.setDatos(arrow, m_datosXml, m_sceneList, scene,
                     nueva ? DialogTransicion::NuevaTransicion : DialogTransicion::EditarTransicion);
    if (dialogo.exec() == QDialog::Accepted) {
        arrow->setText(dialogo.selectedEvent(), dialogo.selectedActions().split(QLatin1Char(',')));
        arrow->alignText();
        // The initial-state command records the new initial transition itself.
        if (!(nueva && inicial))
            registrarPaso(nueva ? QStringLiteral("Nueva transición") : QStringLiteral("Editar transición"));
    } else {
        if (nueva)
            descartarFlecha(scene, arrow);
        // Events, actions and variables declared or removed in the dialog go
        // straight into the document; cancelling takes them back.
        if (catalogoEditable(*m_datosXml) != catalogo)
            restaurarCatalogo();
    }

    updateExploradorProyecto(Proyecto);
    updateTablaTransiciones(scene);
    if (QGraphicsView *vista = viewOf(scene)) {
        vista->setDragMode(QGraphicsView::ScrollHandDrag);
        vista->setDragMode(QGraphicsView::NoDrag);
    }
    ui->actionSeleccionar->trigger();
}

// A new transition whose editor was cancelled leaves nothing behind; for the
// initial transition that includes its marker and the state's initial flag.
void MainWindow::descartarFlecha(DiagramScene *scene, Arrow *arrow)
{
    DiagramItem *origen = arrow->startItem();
    DiagramItem *destino = arrow->endItem();
    if (origen->diagramType() == DiagramItem::EstadoInicial) {
        scene->removeItem(origen);
        delete origen;
        scene->setInitialStateItem(nullptr);
        destino->setInicial(false);
    } else {
        origen->removeArrow(arrow);
    }
    destino->removeArrow(arrow);
    scene->removeItem(arrow);
    delete arrow;
}

void MainWindow::on_itemDoubleClicked(int index)
{
    DiagramScene *scene = activeScene();
    if (!scene)
        return;
    DiagramItem *estado = scene->itemList().value(index);
    if (!estado)
        return;
    const QString nombre = estado->name();
    const QColor color = estado->color();
    const int flechas = estado->arrows().size();
    DialogEditorEstado dialogo(this);
    dialogo.setDatos(index, m_datosXml, scene);
    dialogo.setOtrasMaquinas(estadosDeOtrasMaquinas(scene));
    const bool aceptado = dialogo.exec() == QDialog::Accepted;
    if (!dialogo.datosModificados())
        return;
    if (!aceptado) {
        // The dialog drew every change at once; cancelling takes them back.
        restaurarActual();
        return;
    }
    updateExploradorProyecto(Sistema);
    updateTablaTransiciones(scene);
    const bool renombrado = estado->name() != nombre;
    const bool coloreado = estado->color() != color;
    const bool sinFlechas = estado->arrows().size() != flechas;
    if (renombrado && !coloreado && !sinFlechas)
        registrarPaso(QStringLiteral("Renombrar estado"));
    else if (coloreado && !renombrado && !sinFlechas)
        registrarPaso(QStringLiteral("Cambiar color del estado"));
    else if (sinFlechas && !renombrado && !coloreado)
        registrarPaso(QStringLiteral("Eliminar transición"));
    else
        registrarPaso(QStringLiteral("Editar estado"));
}

void MainWindow::on_gestureFinished(DiagramScene::Gesture gesture)
{
    switch (gesture) {
    case DiagramScene::MoveState:
        registrarPaso(QStringLiteral("Mover estado"));
        break;
    case DiagramScene::MoveStates:
        registrarPaso(QStringLiteral("Mover estados"));
        break;
    case DiagramScene::ResizeState:
        registrarPaso(QStringLiteral("Redimensionar estado"));
        break;
    case DiagramScene::MoveMarker:
        registrarPaso(QStringLiteral("Mover marcador inicial"));
        break;
    case DiagramScene::BendArrow:
        registrarPaso(QStringLiteral("Curvar transición"));
        break;
    case DiagramScene::MoveLabel:
        registrarPaso(QStringLiteral("Mover etiqueta"));
        break;
    case DiagramScene::NoGesture:
        break;
    }
}

void MainWindow::initTablaTransiciones()
{
    QTableWidget *tabla = ui->tableWidgetTransiciones;
    tabla->setColumnCount(4);
    tabla->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tabla->horizontalHeader()->setStretchLastSection(true);
    tabla->horizontalHeader()->setFont(QFont(QStringLiteral("Segoe UI")));
    tabla->verticalHeader()->hide();

    const QStringList titulos{QStringLiteral("ESTADO ACTUAL"), QStringLiteral("ESTADO FUTURO"),
                              QStringLiteral("EVENTOS"), QStringLiteral("ACCIONES")};
    const QStringList iconos{QStringLiteral(":/img/img/button.png"), QStringLiteral(":/img/img/button.png"),
                             QStringLiteral(":/img/img/events.png"),
                             QStringLiteral(":/img/img/external.png")};
    for (int columna = 0; columna < titulos.size(); ++columna) {
        auto *item = new QTableWidgetItem(QIcon(iconos.at(columna)), titulos.at(columna));
        item->setTextAlignment(Qt::AlignHCenter);
        tabla->setHorizontalHeaderItem(columna, item);
    }
}

void MainWindow::updateTablaTransiciones(DiagramScene *scene)
{
    if (!scene)
        return;
    ui->dockWidgetTransiciones->setWindowTitle(QString::fromUtf8(kTituloTabla) + QStringLiteral(" [ ") +
                                               scene->name() + QStringLiteral(" ]"));
    QTableWidget *tabla = ui->tableWidgetTransiciones;
    tabla->clearContents();

    // The rows are gathered first and the table sized once: a row inserted
    // at a time is announced, and laid out, at a time.
    QVector<QStringList> filas;
    DiagramItem *marcador = scene->initialStateItem();
    if (marcador && !marcador->arrows().isEmpty()) {
        const Arrow *reset = marcador->arrows().first();
        filas.append({QStringLiteral("(RESET)"), reset->endItem()->name().toUpper(),
                      QStringLiteral(" (reset) "), reset->actions().join(QLatin1Char(','))});
    }
    const QList<DiagramItem *> estados = scene->itemList();
    for (DiagramItem *estado : estados) {
        const QList<Arrow *> flechas = estado->arrows();
        for (const Arrow *flecha : flechas) {
            if (flecha->startItem() != estado)
                continue;
            QString acciones = flecha->actions().join(QLatin1Char(','));
            if (acciones.isEmpty())
                acciones = QStringLiteral("-");
            filas.append(
                {estado->name().toUpper(), flecha->endItem()->name().toUpper(), flecha->event(), acciones});
        }
    }
    tabla->setRowCount(0);
    tabla->setRowCount(filas.size());
    for (int fila = 0; fila < filas.size(); ++fila) {
        for (int columna = 0; columna < filas.at(fila).size(); ++columna)
            tabla->setItem(fila, columna, celda(filas.at(fila).at(columna)));
    }
    ajustarAlturas(tabla);
}
