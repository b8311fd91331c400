#include "ventanaprueba.h"

#include "proyectoprueba.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QGraphicsView>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

VentanaPrueba::VentanaPrueba() : m_ventana(std::make_unique<MainWindow>())
{
    m_ventana->resize(1366, 675);
    m_ventana->show();
    if (!QTest::qWaitForWindowExposed(m_ventana.get()))
        qWarning("main window not exposed");
}

VentanaPrueba::~VentanaPrueba() = default;

QString VentanaPrueba::ruta(const QString &relativo) const
{
    return relativo.isEmpty() ? m_carpeta.path() : m_carpeta.filePath(relativo);
}

QAction *VentanaPrueba::accion(const char *nombre) const
{
    return hijo<QAction>(nombre);
}

bool VentanaPrueba::crear(const QString &nombre, const QString &carpeta, const QString &autor)
{
    return ProyectoPrueba::crear(*m_ventana, ruta(carpeta), nombre, autor);
}

bool VentanaPrueba::abrirDato(const QString &relativo)
{
    const QString copia = ruta(QFileInfo(relativo).fileName());
    return QFile::copy(TestSupport::dataPath(relativo), copia) && m_ventana->abrirProyecto(copia);
}

QByteArray VentanaPrueba::bytes() const
{
    m_ventana->sincronizarDocumento();
    return m_ventana->documento()->toByteArray();
}

bool VentanaPrueba::comando(const char *nombre, ModalScript &script) const
{
    accion(nombre)->trigger();
    return script.pendientes() == 0;
}

QGraphicsView *VentanaPrueba::vista() const
{
    return m_ventana->viewOf(m_ventana->activeScene());
}

void VentanaPrueba::clic(const QPointF &en) const
{
    QTest::mouseClick(vista()->viewport(), Qt::LeftButton, Qt::NoModifier, vista()->mapFromScene(en));
}

void VentanaPrueba::dobleClic(const QPointF &en) const
{
    const QPoint p = vista()->mapFromScene(en);
    QTest::mouseClick(vista()->viewport(), Qt::LeftButton, Qt::NoModifier, p);
    QTest::mouseDClick(vista()->viewport(), Qt::LeftButton, Qt::NoModifier, p);
}

void VentanaPrueba::arrastrar(const QPointF &desde, const QPointF &hasta) const
{
    QGraphicsView *view = vista();
    QWidget *vp = view->viewport();
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, view->mapFromScene(desde));
    for (int i = 1; i <= 4; ++i) {
        const QPoint pos = view->mapFromScene(desde + (hasta - desde) * i / 4);
        QMouseEvent mover(QEvent::MouseMove, pos, vp->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(vp, &mover);
    }
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, view->mapFromScene(hasta));
}

void VentanaPrueba::clicEnFila(QAbstractItemView *vista, const QString &texto, bool doble)
{
    const QModelIndexList filas = vista->model()->match(vista->model()->index(0, 0), Qt::DisplayRole, texto,
                                                        1, Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY2(!filas.isEmpty(), qPrintable(texto));
    vista->scrollTo(filas.first());
    const QPoint centro = vista->visualRect(filas.first()).center();
    QTest::mouseClick(vista->viewport(), Qt::LeftButton, Qt::NoModifier, centro);
    if (doble)
        QTest::mouseDClick(vista->viewport(), Qt::LeftButton, Qt::NoModifier, centro);
}

QStringList VentanaPrueba::menuDurante(const std::function<void()> &run)
{
    QStringList entradas;
    QTimer vigia;
    vigia.setInterval(10);
    QObject::connect(&vigia, &QTimer::timeout, [&entradas]() {
        QWidget *menu = QApplication::activePopupWidget();
        if (!menu)
            return;
        for (const QAction *a : menu->actions())
            entradas << (a->isSeparator() ? QStringLiteral("|") : a->text());
        menu->close();
    });
    vigia.start();
    run();
    QTest::qWait(50);
    return entradas;
}

ModalScript::Handler VentanaPrueba::elegirArchivo(const QString &ruta)
{
    return [ruta](QWidget *w) {
        auto *dialogo = qobject_cast<QFileDialog *>(w);
        if (!dialogo)
            return;
        // Typed rather than selected: the dialog's file model loads folders
        // in the background, and a selection made before it is done is lost.
        dialogo->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(ruta);
        static_cast<QDialog *>(dialogo)->accept();
    };
}

ModalScript::Handler VentanaPrueba::nombrar(const QString &nombre)
{
    return [nombre](QWidget *w) {
        if (auto *entrada = qobject_cast<QInputDialog *>(w)) {
            entrada->setTextValue(nombre);
            entrada->accept();
            return;
        }
        auto *campo = w->findChild<QLineEdit *>();
        campo->selectAll();
        QTest::keyClicks(campo, nombre);
        for (QPushButton *b : w->findChildren<QPushButton *>()) {
            if (b->text() == QStringLiteral("Aceptar"))
                b->click();
        }
    };
}

ModalScript::Handler VentanaPrueba::pulsar(const char *boton)
{
    const QString nombre = QString::fromLatin1(boton);
    return [nombre](QWidget *w) {
        if (auto *b = w->findChild<QAbstractButton *>(nombre))
            b->click();
    };
}
