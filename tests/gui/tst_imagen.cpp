#include "diagramitem.h"
#include "diagramscene.h"
#include "imagendiagrama.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "proyectoprueba.h"
#include "testsupport.h"

#include <QAction>
#include <QDomDocument>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

using ProyectoPrueba::transicion;

namespace {

// A scene as the window builds it: the hidden initial area first.
DiagramScene *escena(const QList<QPointF> &estados)
{
    auto *scene = new DiagramScene(QStringLiteral("MdE"), nullptr);
    scene->initSceneRect(-1250, -750, 2500, 1500);
    for (int i = 0; i < estados.size(); ++i)
        ProyectoPrueba::estado(scene, QStringLiteral("E%1").arg(i), estados.at(i));
    return scene;
}

ModalScript::Handler elegirArchivo(const QString &path)
{
    return [path](QWidget *w) {
        auto *fd = qobject_cast<QFileDialog *>(w);
        if (!fd)
            return;
        fd->selectFile(path);
        if (auto *nombre = fd->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            nombre->setText(path);
        static_cast<QDialog *>(fd)->accept();
    };
}

} // namespace

class TstImagen : public QObject
{
    Q_OBJECT

private slots:
    // Sizes worked out by hand: a state's bounding rectangle is its 110 × 65
    // box plus 3 on each side; its shadow (blur 10, offset 4, 4) reaches 10
    // beyond the box shifted by 4; the margin is 20, and a PNG doubles it all.
    void tamanoDelPng_data()
    {
        QTest::addColumn<QList<QPointF>>("estados");
        QTest::addColumn<QSize>("tamano");
        QTest::newRow("un estado") << QList<QPointF>{{0, 0}} << QSize(352, 262);
        QTest::newRow("dos estados lejos del origen")
            << QList<QPointF>{{3000, 2000}, {3300, 2100}} << QSize(952, 462);
        QTest::newRow("coordenadas negativas") << QList<QPointF>{{-5000, -4000}} << QSize(352, 262);
    }

    void tamanoDelPng()
    {
        QFETCH(QList<QPointF>, estados);
        QFETCH(QSize, tamano);
        QScopedPointer<DiagramScene> scene(escena(estados));
        const ImagenDiagrama imagen(scene.data());
        QCOMPARE(imagen.imagen().size(), tamano);
        QImage png;
        QVERIFY(png.loadFromData(imagen.png(), "PNG"));
        QCOMPARE(png.size(), tamano);
        QCOMPARE(png.pixelColor(1, 1), QColor(Qt::white));
        QCOMPARE(png.pixelColor(tamano.width() - 1, tamano.height() - 1), QColor(Qt::white));
    }

    // Selection outlines and grips stay out of the picture, and the
    // selection is back afterwards.
    void sinSeleccion()
    {
        QScopedPointer<DiagramScene> scene(escena({{0, 0}, {300, 0}}));
        transicion(scene.data(), scene->itemList().at(0), scene->itemList().at(1), "ev", {"a()"});
        const QImage limpia = ImagenDiagrama(scene.data()).imagen();
        scene->itemList().at(0)->setSelected(true);
        QCOMPARE(ImagenDiagrama(scene.data()).imagen(), limpia);
        QVERIFY(scene->itemList().at(0)->isSelected());
    }

    // A diagram too large for memory at twice its size is drawn smaller.
    void diagramaEnorme()
    {
        QScopedPointer<DiagramScene> scene(escena({{0, 0}, {60000, 40000}}));
        const QImage imagen = ImagenDiagrama(scene.data()).imagen();
        QVERIFY(!imagen.isNull());
        QVERIFY(qint64(imagen.width()) * imagen.height() <= ImagenDiagrama::PIXELES_MAXIMOS);
    }

    // The SVG is a vector drawing: one gradient-filled box per state, each
    // name as text, no embedded raster.
    void svg()
    {
        QScopedPointer<DiagramScene> scene(escena({{0, 0}, {300, 0}, {150, 200}}));
        const QList<DiagramItem *> e = scene->itemList();
        transicion(scene.data(), e.at(0), e.at(1), "ev", {"a()"});
        transicion(scene.data(), e.at(1), e.at(1), "ev", {"a()"});
        QDomDocument svg;
        QVERIFY(svg.setContent(ImagenDiagrama(scene.data()).svg()));
        int cajas = 0;
        const QDomNodeList grupos = svg.elementsByTagName("g");
        for (int i = 0; i < grupos.size(); ++i) {
            const QDomElement grupo = grupos.at(i).toElement();
            cajas += grupo.attribute("fill").startsWith("url(#") && !grupo.firstChildElement("path").isNull();
        }
        QCOMPARE(cajas, 3);
        QString textos;
        const QDomNodeList nodos = svg.elementsByTagName("text");
        for (int i = 0; i < nodos.size(); ++i)
            textos += nodos.at(i).toElement().text();
        for (const char *nombre : {"E0", "E1", "E2"})
            QVERIFY2(textos.contains(nombre), qPrintable(textos));
        QCOMPARE(svg.elementsByTagName("image").size(), 0);
        const QRectF area = ImagenDiagrama(scene.data()).area();
        QCOMPARE(svg.documentElement().attribute("viewBox"),
                 QString("0 0 %1 %2").arg(area.width()).arg(area.height()));
    }

    // "Exportar imagen..." in the Archivo menu writes the active machine.
    void exportarDesdeElMenu()
    {
        QTemporaryDir dir;
        MainWindow ventana;
        QVERIFY(ProyectoPrueba::crear(ventana, dir.path(), "Foto"));
        QAction *exportar = ventana.findChild<QAction *>("actionExportarImagen");
        QVERIFY(exportar);
        QVERIFY(!exportar->isEnabled());
        DiagramScene *scene = ProyectoPrueba::maquina(ventana, "MdE1");
        ProyectoPrueba::estado(scene, "A", QPointF(500, 400));
        ventana.uiEnable();
        QVERIFY(exportar->isEnabled());

        for (const char *nombre : {"foto.png", "foto.svg"}) {
            ModalScript guion;
            guion.then(elegirArchivo(dir.filePath(nombre)));
            exportar->trigger();
            QCOMPARE(guion.pendientes(), 0);
        }
        QCOMPARE(QImage(dir.filePath("foto.png")).size(), ImagenDiagrama(scene).imagen().size());
        QVERIFY(TestSupport::readFile(dir.filePath("foto.svg")).contains("<svg"));

        ModalScript fallo;
        fallo.then(elegirArchivo(dir.filePath("no/existe/foto.png"))).thenDismiss();
        exportar->trigger();
        QCOMPARE(fallo.titulos(), QStringList("Exportar imagen"));
    }
};

QTEST_MAIN(TstImagen)
#include "tst_imagen.moc"
