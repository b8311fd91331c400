#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "arrow.h"
#include "dialognuevoproyecto.h"
#include "idsproyecto.h"
#include "lectorproyecto.h"
#include "xmlhandler.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsRectItem>
#include <QPushButton>
#include <QTreeWidgetItem>

namespace {

const char *const TITULO = "Vireo | Alderhall";
// Coordinates beyond this are not drawings but damage; they read as missing.
const qreal LIMITE_COORDENADA = 1e7;
// Distance from a state's top-left corner to its initial-state marker when
// the file does not store where the marker was.
const qreal SEPARACION_MARCADOR = 40;

QString ahora()
{
    return XmlHandler::formatoFecha(QDateTime::currentDateTime());
}

bool leerCoordenada(const QString &texto, qreal *valor)
{
    bool ok = false;
    *valor = texto.toDouble(&ok);
    return ok && qAbs(*valor) <= LIMITE_COORDENADA;
}

// A stored coordinate, or fallback when the text holds none ("-1" for a
// missing element is a number and is returned as such).
qreal leerNumero(const QString &texto, qreal fallback)
{
    qreal valor = 0;
    return leerCoordenada(texto, &valor) ? valor : fallback;
}

// A stored size truncated to whole units, or fallback when it is missing or
// not positive.
int leerMedida(const QString &texto, int fallback)
{
    const qreal valor = leerNumero(texto, fallback);
    return valor >= 1 ? int(valor) : fallback;
}

// "x,y" as stored in midPos and textPos; false when either number is missing.
bool leerPunto(const QString &texto, QPointF *p)
{
    const QStringList partes = texto.split(QLatin1Char(','));
    if (partes.size() != 2)
        return false;
    qreal x = 0;
    qreal y = 0;
    if (!leerCoordenada(partes.at(0), &x) || !leerCoordenada(partes.at(1), &y))
        return false;
    *p = QPointF(x, y);
    return true;
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
    const QString modificacion = m_datosXml->getContenidoGeneral(QStringLiteral("modificacion"));
    m_datosXml->setContenidoGeneral(QStringLiteral("modificacion"), ahora());
    sincronizarDocumento();
    if (!m_datosXml->save()) {
        m_datosXml->setContenidoGeneral(QStringLiteral("modificacion"), modificacion);
        avisarFalloGuardado();
        return false;
    }
    historialGuardado();
    return true;
}

void MainWindow::sincronizarDocumento()
{
    if (!m_datosXml)
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
        foto.escribir(*m_datosXml, maquina);
        escrita = MaquinaEscrita{std::move(foto), m_datosXml->maquinaToByteArray(maquina), true};
    }
    m_datosXml->recortarMaquinas(m_sceneList.size());
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
    for (int k = 0; k < conservadas.size(); ++k) {
        if (conservadas.at(k)) {
            m_sceneList.append(conservadas.at(k));
            continue;
        }
        const QString maquina = IdsProyecto::maquina(k);
        const QString nombre = m_datosXml->getContenidoMaquina(maquina, QStringLiteral("nombre"));
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
            initSubWindow(nombre);
            scene = m_sceneList.value(k);
        }
        if (!scene)
            break;
        cargarEstados(scene, maquina);
        omitidos << cargarTransiciones(scene, maquina);
        omitidos << cargarEstadoInicial(scene, maquina);
    }
    for (DiagramScene *sobrante : qAsConst(anteriores))
        quitarEscena(sobrante);

    // The table lists one machine, the active one; filling it for every
    // machine of a large project only to replace it each time is wasted work.
    DiagramScene *tabla = activeScene() ? activeScene() : m_sceneList.value(m_sceneList.size() - 1);
    if (tabla)
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

void MainWindow::cargarEstados(DiagramScene *scene, const QString &maquina)
{
    const int cantidad = m_datosXml->cantidadEstados(maquina);
    for (int a = 0; a < cantidad; ++a) {
        const QString id = IdsProyecto::estado(a);
        auto dato = [&](const char *tag) {
            return m_datosXml->getContenidoDiagrama(id, QString::fromLatin1(tag), maquina);
        };
        const QPointF pos(leerNumero(dato("pos_x"), 0), leerNumero(dato("pos_y"), 0));
        const int ancho = leerMedida(dato("ancho"), int(ESTADO_SIMPLE_WIDTH));
        const int alto = leerMedida(dato("alto"), int(ESTADO_SIMPLE_HEIGHT));
        QColor color(dato("color"));
        if (!color.isValid())
            color = QColor(QStringLiteral("lightcyan"));

        auto *estado = new DiagramItem(DiagramItem::EstadoSimple, m_itemMenu);
        scene->addItem(estado);
        scene->addToList(estado);
        estado->setPos(pos);
        estado->setSize(ancho, alto);
        estado->setName(dato("nombre"));
        estado->setColor(color);
    }
}

QStringList MainWindow::cargarTransiciones(DiagramScene *scene, const QString &maquina)
{
    QStringList omitidas;
    const QList<DiagramItem *> estados = scene->itemList();
    for (int i = 0; i < estados.size(); ++i) {
        const QString id = IdsProyecto::estado(i);
        const int cantidad = m_datosXml->cantidadTransiciones(id, maquina);
        for (int j = 0; j < cantidad; ++j) {
            const QString tr = IdsProyecto::transicion(j);
            auto dato = [&](const char *tag) {
                return m_datosXml->getContenidoTransicion(id, tr, QString::fromLatin1(tag), maquina);
            };
            const QString referencia = dato("idProxEstado");
            const int destino = IdsProyecto::indiceEstado(referencia, estados.size());
            if (destino < 0) {
                omitidas << QStringLiteral("%1: transición %2 de %3 hacia %4")
                                .arg(scene->name(), tr, estados.at(i)->name(), referencia);
                continue;
            }
            DiagramItem *inicio = estados.at(i);
            DiagramItem *fin = estados.at(destino);
            auto *arrow = new Arrow(inicio, fin, m_itemMenu);
            arrow->setColor(Qt::black);
            arrow->setText(dato("idEvento"), dato("idAcciones").split(QLatin1Char(',')));
            QPointF mid;
            if (leerPunto(dato("midPos"), &mid))
                arrow->midItem()->setPos(mid);
            inicio->addArrow(arrow);
            if (fin != inicio)
                fin->addArrow(arrow);
            scene->addItem(arrow);
            QPointF texto;
            if (leerPunto(dato("textPos"), &texto))
                arrow->setTextRelativePos(texto);
            arrow->updatePosition();
        }
    }
    return omitidas;
}

QString MainWindow::cargarEstadoInicial(DiagramScene *scene, const QString &maquina)
{
    scene->setInitialStateItem(nullptr);
    auto dato = [&](const char *tag) {
        return m_datosXml->getContenidoInicial(QString::fromLatin1(tag), maquina);
    };
    const QString referencia = dato("idProxEstado");
    if (referencia == QLatin1String("-1"))
        return QString();
    // The state is found by its stored index, not by its name: names may
    // repeat in a hand-edited file, and "-1" is itself a valid state name.
    const int indice = IdsProyecto::indiceEstado(referencia, scene->itemList().size());
    if (indice < 0)
        return QStringLiteral("%1: estado inicial %2").arg(scene->name(), referencia);

    DiagramItem *estado = scene->itemList().at(indice);
    estado->setInicial(true);
    auto *marcador = new DiagramItem(DiagramItem::EstadoInicial, m_itemMenu);
    scene->addItem(marcador);
    scene->setInitialStateItem(marcador);

    const QPointF porDefecto = estado->pos() - QPointF(estado->rect().width() / 2 + SEPARACION_MARCADOR,
                                                       estado->rect().height() / 2 + SEPARACION_MARCADOR);
    const QString posX = dato("pos_x");
    const QString posY = dato("pos_y");
    const QString midPos = dato("midPos");
    const QString textPos = dato("textPos");
    const bool formaAntigua = leerNumero(posX, 0) == -1 && leerNumero(posY, 0) == -1 &&
                              midPos.section(QLatin1Char(','), 0, 0) == QLatin1String("-1") &&
                              textPos.section(QLatin1Char(','), 0, 0) == QLatin1String("-1");
    qreal x = 0;
    qreal y = 0;
    const bool posValida = !formaAntigua && leerCoordenada(posX, &x) && leerCoordenada(posY, &y);
    marcador->setPos(posValida ? QPointF(x, y) : porDefecto);

    auto *arrow = new Arrow(marcador, estado, m_itemMenu);
    arrow->setColor(Qt::black);
    arrow->setText(QStringLiteral("-"),
                   formaAntigua ? QStringList(QString()) : dato("idAcciones").split(QLatin1Char(',')));
    QPointF mid;
    if (!formaAntigua && leerPunto(midPos, &mid))
        arrow->midItem()->setPos(mid);
    marcador->addArrow(arrow);
    estado->addArrow(arrow);
    scene->addItem(arrow);
    QPointF texto;
    if (!formaAntigua && leerPunto(textPos, &texto))
        arrow->setTextRelativePos(texto);
    arrow->updatePosition();
    return QString();
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
    }
}

void MainWindow::on_actionAbrirProyecto_triggered()
{
    if (!descartarProyectoAbierto())
        return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Abrir Proyecto"),
                                                      QDir::homePath(), QStringLiteral("Proyectos(*.vro)"));
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
