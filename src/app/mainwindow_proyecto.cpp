#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "dialognuevoproyecto.h"
#include "idsproyecto.h"
#include "lectorproyecto.h"
#include "maquinaxml.h"
#include "proyecto.h"
#include "subwindow.h"
#include "xmlhandler.h"
#include "xmlserializer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTreeWidgetItem>

namespace {

const char *const TITULO = "Vireo | Alderhall";

QString ahora()
{
    return XmlHandler::formatoFecha(QDateTime::currentDateTime());
}

// Far beyond any drawing a person makes (a machine of a few hundred states
// is already large), yet a file of a few megabytes can declare millions of
// elements; drawing them would keep the window frozen for minutes.
const int MAX_MAQUINAS = 500;
const int MAX_ESTADOS = 50000;
const int MAX_TRANSICIONES = 150000;

bool demasiadoGrande(const XmlHandler &documento)
{
    const int maquinas = documento.cantidadMaquinas();
    if (maquinas > MAX_MAQUINAS)
        return true;
    qint64 estados = 0;
    qint64 transiciones = 0;
    for (int k = 0; k < maquinas; ++k) {
        const QString maquina = IdsProyecto::maquina(k);
        const int cantidad = documento.cantidadEstados(maquina);
        estados += qMax(cantidad, 0);
        if (estados > MAX_ESTADOS)
            return true;
        for (int i = 0; i < cantidad; ++i) {
            transiciones += qMax(documento.cantidadTransiciones(IdsProyecto::estado(i), maquina), 0);
            if (transiciones > MAX_TRANSICIONES)
                return true;
        }
    }
    return false;
}

} // namespace

bool MainWindow::guardarDatos()
{
    if (!m_datosXml)
        return false;
    completarMovimiento();
    const QString modificacion = m_datosXml->getContenidoGeneral(QStringLiteral("modificacion"));
    m_datosXml->setContenidoGeneral(QStringLiteral("modificacion"), ahora());
    // The history's pieces are the document's bytes: the machines unchanged
    // since they were last written keep theirs, and the file is made of them
    // rather than by writing the whole document again.
    const Instantanea guardada = instantanea();
    if (!m_datosXml->save(guardada.documento())) {
        m_datosXml->setContenidoGeneral(QStringLiteral("modificacion"), modificacion);
        avisarFalloGuardado();
        return false;
    }
    historialGuardado(guardada);
    return true;
}

void MainWindow::sincronizarDocumento()
{
    if (!m_datosXml)
        return;
    if (m_escritas.isEmpty() && adoptarMaquinasLeidas())
        return;
    // What a file held among its machines (comments) is not kept.
    if (m_escritas.isEmpty())
        m_datosXml->borrarMaquinas();
    m_escritas.resize(m_sceneList.size());
    for (int k = 0; k < m_sceneList.size(); ++k) {
        FotoMaquina foto = FotoMaquina::de(*m_sceneList.at(k));
        MaquinaEscrita &escrita = m_escritas[k];
        if (escrita.vigente && escrita.foto == foto)
            continue;
        const QString maquina = IdsProyecto::maquina(k);
        MaquinaXml(*m_datosXml, maquina).guardar(foto);
        escrita = MaquinaEscrita{std::move(foto), m_datosXml->maquinaToByteArray(maquina), true};
    }
    m_datosXml->recortarMaquinas(m_sceneList.size());
}

// A document just opened holds each machine as its file did. When every one
// reads as what the scenes would write, the document keeps them: the first
// snapshot of a large project then writes no element into it.
bool MainWindow::adoptarMaquinasLeidas()
{
    const QVector<QByteArray> leidas = m_datosXml->tomarMaquinasLeidas();
    if (leidas.isEmpty() || leidas.size() != m_sceneList.size())
        return false;
    QVector<MaquinaEscrita> escritas;
    escritas.reserve(leidas.size());
    for (int k = 0; k < leidas.size(); ++k) {
        FotoMaquina foto = FotoMaquina::de(*m_sceneList.at(k));
        // Mostly as long as what the file held.
        QByteArray bytes = MaquinaXml::bytes(foto, IdsProyecto::maquina(k), leidas.at(k).size());
        if (!XmlSerializer::leeIgual(bytes, leidas.at(k)))
            return false;
        escritas.append(MaquinaEscrita{std::move(foto), std::move(bytes), true});
    }
    m_datosXml->completarMaquinasLeidas();
    m_escritas = std::move(escritas);
    return true;
}

// The document's own reason names the path again; the message shows it once.
void MainWindow::avisarFalloGuardado()
{
    const QString ruta = rutaProyecto();
    QString motivo = m_datosXml->ultimoError();
    const QString prefijo =
        QStringLiteral("No se pudo guardar el archivo %1: ").arg(QDir::toNativeSeparators(ruta));
    if (motivo.startsWith(prefijo))
        motivo = motivo.mid(prefijo.size());
    QString texto = QStringLiteral("No se pudo guardar el archivo \n%1").arg(ruta);
    if (!motivo.isEmpty())
        texto += QStringLiteral("\nMotivo: ") + motivo;
    QMessageBox::warning(this, QStringLiteral("Error al Guardar Proyecto"), texto);
}

QString MainWindow::rutaProyecto() const
{
    return m_datosXml->getContenidoGeneral(QStringLiteral("carpeta")) + QLatin1Char('/') +
           m_datosXml->getContenidoGeneral(QStringLiteral("nombre")) + QStringLiteral(".vro");
}

bool MainWindow::abrirProyecto(const QString &path)
{
    if (!QFileInfo(path).isFile() || !QFileInfo(path).isReadable()) {
        QMessageBox::warning(this, QStringLiteral("Error al Abrir Proyecto"),
                             QStringLiteral("No se pudo abrir el archivo \n%1").arg(path));
        return false;
    }
    // The file is read and checked before anything of the open project is
    // touched: a file that cannot be shown leaves it as it was.
    QString motivo;
    std::unique_ptr<XmlHandler> documento = LectorProyecto::leerArchivo(path, &motivo);
    if (documento && demasiadoGrande(*documento))
        motivo = QStringLiteral(
            "el proyecto tiene más máquinas, estados o transiciones de los que Vireo puede dibujar");
    if (!documento || !motivo.isEmpty()) {
        QMessageBox::warning(
            this, QStringLiteral("Error al Abrir Proyecto"),
            QStringLiteral("No se pudo procesar el archivo \n%1\nMotivo: %2").arg(path, motivo));
        return false;
    }
    documento->setContenidoGeneral(QStringLiteral("carpeta"), QFileInfo(path).absolutePath());
    mostrarDocumento(documento.release(), QFileInfo(path).completeBaseName());
    recordarProyecto(path);
    return true;
}

void MainWindow::mostrarDocumento(XmlHandler *documento, const QString &titulo)
{
    if (m_datosXml)
        cerrarDocumento();
    m_datosXml = documento;
    m_escritas.clear();
    habilitarProyecto();
    initExploradorProyecto();
    const QStringList omitidos = construirEscenas();
    // Undo rebuilds the diagrams too, but leaves the user's zoom alone.
    ajustarVentanas();
    setWindowTitle(QString::fromUtf8(TITULO) + QStringLiteral(" - ") + titulo);
    reiniciarHistorial();
    if (!omitidos.isEmpty())
        avisarOmitidos(omitidos);
}

QStringList MainWindow::construirEscenas(const QVector<bool> &conservar)
{
    QList<DiagramScene *> anteriores = m_sceneList;
    QVector<DiagramScene *> conservadas(m_datosXml->cantidadMaquinas(), nullptr);
    for (int k = 0; k < conservadas.size() && k < m_sceneList.size(); ++k) {
        if (conservar.value(k)) {
            conservadas[k] = m_sceneList.at(k);
            anteriores.removeOne(conservadas[k]);
        }
    }
    m_sceneList.clear();
    QStringList omitidos;
    QList<QMdiSubWindow *> nuevas;
    QList<DiagramScene *> llenadas;
    const ::Proyecto proyecto = ::Proyecto::desdeDocumento(*m_datosXml);
    for (int k = 0; k < proyecto.cantidadMaquinas(); ++k) {
        if (conservadas.value(k)) {
            m_sceneList.append(conservadas.at(k));
            continue;
        }
        const ::Maquina &maquina = proyecto.maquina(k);
        const QString &nombre = maquina.nombre;
        DiagramScene *scene = nullptr;
        for (DiagramScene *anterior : qAsConst(anteriores)) {
            if (anterior->name() == nombre) {
                scene = anterior;
                break;
            }
        }
        if (scene) {
            anteriores.removeOne(scene);
            scene->clearDiagram();
            m_sceneList.append(scene);
        } else {
            nuevas << initSubWindow(nombre, false);
            scene = m_sceneList.value(k);
        }
        if (!scene)
            break;
        scene->setItemIndexMethod(QGraphicsScene::NoIndex);
        llenadas << scene;
        cargarEstados(scene, maquina);
        omitidos << cargarTransiciones(scene, maquina);
        omitidos << cargarEstadoInicial(scene, maquina);
    }
    for (DiagramScene *sobrante : qAsConst(anteriores))
        quitarEscena(sobrante);
    mostrarVentanas(nuevas);
    // The scenes' index is built once, when first needed, after the windows
    // are shown: showing a view in the active window lists the scene's items
    // in stacking order (twice), which without an index costs no sorting.
    for (DiagramScene *scene : qAsConst(llenadas))
        scene->setItemIndexMethod(QGraphicsScene::BspTreeIndex);

    // The table lists one machine, the active one; filling it for every
    // machine of a large project only to replace it each time is wasted work.
    // Showing new windows has filled it for the active one already.
    DiagramScene *tabla = activeScene() ? activeScene() : m_sceneList.value(m_sceneList.size() - 1);
    const DiagramScene *llena = nuevas.isEmpty() ? nullptr : sceneOfWindow(ui->mdiArea->activeSubWindow());
    if (tabla && tabla != llena)
        updateTablaTransiciones(tabla);
    if (m_sceneList.isEmpty())
        deshabilitarEdicion();
    else
        uiEnable();
    updateExploradorProyecto();
    omitidos.removeAll(QString());
    return omitidos;
}

void MainWindow::avisarOmitidos(const QStringList &omitidos)
{
    const int mostrados = 10;
    QString texto =
        QStringLiteral("El archivo tiene referencias a estados que no existen; no se cargaron:\n") +
        omitidos.mid(0, mostrados).join(QLatin1Char('\n'));
    if (omitidos.size() > mostrados)
        texto += QStringLiteral("\n(y %1 más)").arg(omitidos.size() - mostrados);
    QMessageBox::warning(this, QStringLiteral("Advertencia"), texto);
}

void MainWindow::habilitarProyecto()
{
    ui->actionNuevaMaquina->setEnabled(true);
    ui->actionGuardar->setEnabled(true);
    ui->actionGuardarComo->setEnabled(true);
    ui->actionCerrarProyecto->setEnabled(true);
    ui->dockWidgetProyecto->setEnabled(true);
    ui->mdiArea->setEnabled(true);
    habilitarImportacion(true);
}

void MainWindow::habilitarImportacion(bool habilitar)
{
    ui->menuImportar_recursos->setEnabled(habilitar);
    ui->actionDesde_archivo->setEnabled(habilitar);
    ui->actionDesde_otro_proyecto->setEnabled(habilitar);
}

void MainWindow::cargarEstados(DiagramScene *scene, const ::Maquina &maquina)
{
    MaquinaXml::cargarEstados(scene, maquina, m_itemMenu);
}

QStringList MainWindow::cargarTransiciones(DiagramScene *scene, const ::Maquina &maquina)
{
    return MaquinaXml::cargarTransiciones(scene, maquina, scene->itemList(), m_itemMenu);
}

QString MainWindow::cargarEstadoInicial(DiagramScene *scene, const ::Maquina &maquina)
{
    return MaquinaXml::cargarEstadoInicial(scene, maquina, scene->itemList(), m_itemMenu);
}

void MainWindow::cerrarDocumento()
{
    delete m_datosXml;
    m_datosXml = nullptr;
    m_escritas.clear();
    uiReset();
}

// True when the caller may drop the open project: nothing to keep, the user
// discarded the changes, or they were saved. A failed save keeps the project.
bool MainWindow::descartarProyectoAbierto()
{
    if (!m_datosXml)
        return true;
    switch (maybeSave()) {
    case QMessageBox::Cancel:
        return false;
    case QMessageBox::Save:
        return guardarDatos();
    default:
        return true;
    }
}

void MainWindow::on_actionNuevoProyecto_triggered()
{
    if (!descartarProyectoAbierto())
        return;
    if (m_datosXml)
        cerrarDocumento();

    DialogNuevoProyecto dialogo(this);
    if (dialogo.exec() != QDialog::Accepted)
        return;
    const QStringList datos = dialogo.selectedData();
    const QString nombre = datos.value(0);

    m_datosXml = new XmlHandler(nombre, XmlHandler::NUEVO_XML_DATOS);
    m_escritas.clear();
    m_datosXml->setContenidoGeneral(QStringLiteral("nombre"), nombre);
    m_datosXml->setContenidoGeneral(QStringLiteral("autores"), datos.value(1));
    m_datosXml->setContenidoGeneral(QStringLiteral("creacion"), ahora());
    m_datosXml->setContenidoGeneral(QStringLiteral("modificacion"), ahora());
    m_datosXml->setContenidoGeneral(QStringLiteral("carpeta"), datos.value(2));
    m_datosXml->addNuevaConstante(QStringLiteral("TRUE"));
    m_datosXml->addNuevaConstante(QStringLiteral("FALSE"));

    habilitarProyecto();
    initExploradorProyecto();
    setWindowTitle(QString::fromUtf8(TITULO) + QStringLiteral(" - ") + nombre + QStringLiteral(".vro"));
    reiniciarHistorial();
    if (!m_datosXml->save()) {
        // The project stays open, marked as unsaved, so it can be saved elsewhere.
        avisarFalloGuardado();
        marcarModificado();
        return;
    }
    recordarProyecto(rutaProyecto());
}

void MainWindow::on_actionAbrirProyecto_triggered()
{
    if (!descartarProyectoAbierto())
        return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Abrir Proyecto"),
                                                      carpetaParaAbrir(), QStringLiteral("Proyectos(*.vro)"));
    if (path.isEmpty())
        return;
    abrirProyecto(path);
}

void MainWindow::on_actionGuardar_triggered()
{
    guardarDatos();
}

void MainWindow::on_actionGuardarComo_triggered()
{
    if (!m_datosXml)
        return;
    const QString elegido = QFileDialog::getSaveFileName(
        this, QStringLiteral("Guardar Como"), m_datosXml->getContenidoGeneral(QStringLiteral("carpeta")),
        QStringLiteral("proyecto VRO (*.vro)"));
    if (elegido.isEmpty())
        return;
    const QFileInfo info(elegido);
    QString nombre = info.fileName();
    if (nombre.endsWith(QLatin1String(".vro"), Qt::CaseInsensitive))
        nombre.chop(4);
    const QString carpeta = QDir::fromNativeSeparators(info.absolutePath());
    if (nombre.isEmpty()) {
        QMessageBox::warning(
            this, QStringLiteral("Error al Guardar Proyecto"),
            QStringLiteral("No se pudo guardar el archivo \n%1\nMotivo: el nombre está vacío").arg(elegido));
        return;
    }
    if (!confirmarReemplazo(elegido, carpeta + QLatin1Char('/') + nombre + QStringLiteral(".vro")))
        return;

    const QStringList claves = {QStringLiteral("nombre"), QStringLiteral("carpeta"),
                                QStringLiteral("creacion"), QStringLiteral("modificacion")};
    QStringList anteriores;
    for (const QString &clave : claves)
        anteriores << m_datosXml->getContenidoGeneral(clave);
    const QString fecha = ahora();
    const QStringList nuevos = {nombre, carpeta, fecha, fecha};
    for (int i = 0; i < claves.size(); ++i)
        m_datosXml->setContenidoGeneral(claves.at(i), nuevos.at(i));

    if (!guardarDatos()) {
        // The project keeps pointing at the file it came from.
        for (int i = 0; i < claves.size(); ++i)
            m_datosXml->setContenidoGeneral(claves.at(i), anteriores.at(i));
        return;
    }
    setWindowTitle(QString::fromUtf8(TITULO) + QStringLiteral(" - ") + nombre + QStringLiteral(".vro"));
    recordarProyecto(rutaProyecto());
    if (QTreeWidgetItem *raiz = ui->treeWidgetProyecto->topLevelItem(0))
        raiz->setText(0, nombre);
}

// The file dialog asked about the file it showed; a project file named
// otherwise (".vro" added, or written in lower case) that exists and is not
// the project's own is asked about here.
bool MainWindow::confirmarReemplazo(const QString &elegido, const QString &destino)
{
    const QFileInfo archivo(destino);
    if (!archivo.exists() || archivo == QFileInfo(elegido) || archivo == QFileInfo(rutaProyecto()))
        return true;
    QMessageBox pregunta(QMessageBox::Warning, QStringLiteral("Guardar Como"),
                         QStringLiteral("Ya existe el archivo %1.\n¿Desea reemplazarlo?")
                             .arg(QDir::toNativeSeparators(destino)),
                         QMessageBox::NoButton, this);
    QPushButton *si = pregunta.addButton(QStringLiteral("Si"), QMessageBox::AcceptRole);
    QPushButton *no = pregunta.addButton(QStringLiteral("No"), QMessageBox::RejectRole);
    pregunta.setDefaultButton(no);
    pregunta.exec();
    return pregunta.clickedButton() == si;
}

void MainWindow::on_actionCerrarProyecto_triggered()
{
    if (!descartarProyectoAbierto())
        return;
    cerrarDocumento();
    habilitarImportacion(false);
}
