#include "diagramitem.h"
#include "diagramscene.h"
#include "imagendiagrama.h"
#include "proyectoprueba.h"
#include "testsupport.h"
#include "ventanaprueba.h"

#include <QAction>
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

    // The SVG is a vector drawing of the diagram's area: gradient boxes, each
    // name as text, no embedded raster.
    void svg()
    {
        QScopedPointer<DiagramScene> scene(escena({{0, 0}, {300, 0}}));
        transicion(scene.data(), scene->itemList().at(0), scene->itemList().at(1), "ev", {"a()"});
        const QByteArray svg = ImagenDiagrama(scene.data()).svg();
        QVERIFY(svg.contains(">E0<") && svg.contains(">E1<") && svg.contains("url(#"));
        QVERIFY(!svg.contains("<image"));
        const QRectF area = ImagenDiagrama(scene.data()).area();
        QVERIFY(svg.contains(
            QStringLiteral("viewBox=\"0 0 %1 %2\"").arg(area.width()).arg(area.height()).toUtf8()));
    }

    // "Exportar imagen..." in the Archivo menu writes the active machine.
    void exportarDesdeElMenu()
    {
        VentanaPrueba v;
        QVERIFY(v.crear("Foto"));
        QVERIFY(!v.accion("actionExportarImagen")->isEnabled());
        DiagramScene *scene = ProyectoPrueba::maquina(*v, "MdE1");
        ProyectoPrueba::estado(scene, "A", QPointF(500, 400));
        v->uiEnable();
        for (const char *nombre : {"foto.png", "foto.svg", "no/existe/foto.png"}) {
            ModalScript guion;
            guion.then(VentanaPrueba::elegirArchivo(v.ruta(nombre))).thenDismiss();
            v.accion("actionExportarImagen")->trigger();
            QCOMPARE(guion.titulos(), nombre[0] == 'n' ? QStringList("Exportar imagen") : QStringList());
        }
        QCOMPARE(QImage(v.ruta("foto.png")).size(), ImagenDiagrama(scene).imagen().size());
        QVERIFY(TestSupport::readFile(v.ruta("foto.svg")).contains("<svg"));
    }
};

QTEST_MAIN(TstImagen)
#include "tst_imagen.moc"
