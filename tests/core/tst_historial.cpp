// The undo history's bounds and clean state, the recovery file format, the
// check that a file is a project before it is opened, and values made only of
// blanks.
#include "archivorecuperacion.h"
#include "historialproyecto.h"
#include "lectorproyecto.h"
#include "testsupport.h"
#include "xmlhandler.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray doc(int n, int size = 10)
{
    return QByteArray::number(n).leftJustified(size, '.');
}

// A state made of one piece, as a document without machines is.
Instantanea ins(int n, int size = 10)
{
    return Instantanea{doc(n, size), {}, {}};
}

QByteArray proyecto(const QString &nombre)
{
    XmlHandler xml(nombre, XmlHandler::NUEVO_XML_DATOS);
    xml.setContenidoGeneral(QStringLiteral("nombre"), nombre);
    return xml.toByteArray();
}

} // namespace

class TstHistorial : public QObject
{
    Q_OBJECT

private slots:
    void pasosYEstadoLimpio();
    void limites_data();
    void limites();
    void unPasoCuestaLoQueCambia();
    void piezasDelDocumento_data();
    void piezasDelDocumento();
    void lectorProyecto_data();
    void lectorProyecto();
    void valoresDeBlancosSeLeenComoSeEscribieron();
    void recuperacionIdaYVuelta();
    void recuperacionDanada_data();
    void recuperacionDanada();
};

void TstHistorial::pasosYEstadoLimpio()
{
    HistorialProyecto h;
    h.reiniciar(ins(0));
    QVERIFY(!h.modificado());
    QVERIFY(!h.registrar(QStringLiteral("nada"), ins(0)));
    QVERIFY(h.registrar(QStringLiteral("Mover estado"), ins(1)));
    QVERIFY(h.registrar(QStringLiteral("Nuevo estado"), ins(2)));
    QVERIFY(h.modificado());
    QCOMPARE(h.textoDeshacer(), QStringLiteral("Nuevo estado"));
    QCOMPARE(h.deshacer().documento(), doc(1));
    QCOMPARE(h.textoRehacer(), QStringLiteral("Nuevo estado"));
    QCOMPARE(h.deshacer().documento(), doc(0));
    QVERIFY(!h.modificado());
    QVERIFY(!h.puedeDeshacer());
    QCOMPARE(h.rehacer().documento(), doc(1));

    // Saved in the middle, then undone past it and redone back: clean again.
    h.marcarGuardado(ins(1));
    QCOMPARE(h.deshacer().documento(), doc(0));
    QVERIFY(h.modificado());
    QCOMPARE(h.rehacer().documento(), doc(1));
    QVERIFY(!h.modificado());

    // A new step after undoing forgets the steps ahead, and the clean state
    // with them when it was one of them.
    h.deshacer();
    QVERIFY(h.registrar(QStringLiteral("Eliminar estado"), ins(3)));
    QVERIFY(!h.puedeRehacer());
    QCOMPARE(h.pasos(), 1);
    QCOMPARE(h.deshacer().documento(), doc(0));
    QVERIFY(h.modificado());
    h.olvidarGuardado();
    QVERIFY(h.modificado());
}

void TstHistorial::limites_data()
{
    QTest::addColumn<int>("maxPasos");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<int>("tamano");
    QTest::addColumn<int>("pasos");
    QTest::addColumn<int>("quedan");
    QTest::newRow("por pasos") << 100 << 1 << 0 << 130 << 100;
    QTest::newRow("por bytes") << 100 << 0 << 1000 << 20 << 7;
    QTest::newRow("un estado mayor que el límite se conserva") << 100 << 0 << 10000 << 3 << 0;
}

void TstHistorial::limites()
{
    QFETCH(int, maxPasos);
    QFETCH(int, maxBytes);
    QFETCH(int, tamano);
    QFETCH(int, pasos);
    QFETCH(int, quedan);
    const qint64 limite = maxBytes ? HistorialProyecto::kMaxBytes : 8 * 1000;
    HistorialProyecto h(maxPasos, limite);
    h.reiniciar(ins(0, qMax(tamano, 10)));
    for (int i = 1; i <= pasos; ++i) {
        QVERIFY(h.registrar(QStringLiteral("paso %1").arg(i), ins(i, qMax(tamano, 10))));
        if (i == pasos - 2)
            h.marcarGuardado(ins(i, qMax(tamano, 10)));
    }
    QCOMPARE(h.pasos(), quedan);
    QVERIFY(h.pasos() == 0 || h.bytes() <= limite);
    // The save two steps back stays clean while older states are dropped.
    if (quedan >= 2) {
        h.deshacer();
        h.deshacer();
        QVERIFY(!h.modificado());
    }
    // The oldest went first: undoing all the way reaches the oldest kept.
    while (h.puedeDeshacer())
        h.deshacer();
    QCOMPARE(h.actual().documento(), doc(pasos - quedan, qMax(tamano, 10)));
    // The file's state was dropped: nothing left is clean.
    QVERIFY(h.modificado());
}

// Twenty machines of 1000 bytes, one changed per step: each step costs 1000
// bytes, and dropping the oldest state frees only what no later one shares.
void TstHistorial::unPasoCuestaLoQueCambia()
{
    Instantanea estado{"<a>", {}, "</a>"};
    for (int k = 0; k < 20; ++k)
        estado.maquinas << doc(k, 1000);
    HistorialProyecto h(100, 30007);
    h.reiniciar(estado);
    QList<QByteArray> documentos{estado.documento()};
    for (int i = 1; i <= 15; ++i) {
        // Equal pieces made anew, as every step makes them, are shared too.
        for (QByteArray &maquina : estado.maquinas)
            maquina = QByteArray(maquina.constData(), maquina.size());
        estado.maquinas[i % 20] = doc(100 + i, 1000);
        QVERIFY(h.registrar(QStringLiteral("paso"), estado));
        documentos << estado.documento();
        QCOMPARE(h.bytes(), 7 + 1000 * qMin(20 + i, 30));
    }
    QCOMPARE(h.pasos(), 10);
    for (int i = 14; i >= 5; --i)
        QCOMPARE(h.deshacer().documento(), documentos.at(i));
    QVERIFY(!h.puedeDeshacer());
}

void TstHistorial::piezasDelDocumento_data()
{
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<int>("maquinas");
    QTest::newRow("sin máquinas") << proyecto(QStringLiteral("P")) << 0;
    QTest::newRow("con comentarios y valores fuera de las máquinas")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<proyecto>\n    <general>\n"
                      "        <nombre>P</nombre>\n        <!-- a mano -->\n    </general>\n"
                      "    <maquinas>\n        <maquina0>\n            <nombre>M</nombre>\n"
                      "            <estadoInicial/>\n        </maquina0>\n        <maquina1>\n"
                      "            <nombre>N &amp; 1</nombre>\n            <estadoInicial/>\n"
                      "            <estado0>\n                <diagrama>\n"
                      "                    <nombre> </nombre>\n                </diagrama>\n"
                      "            </estado0>\n        </maquina1>\n    </maquinas>\n"
                      "    <eventos>texto<ev0>e</ev0></eventos>\n</proyecto>\n")
        << 2;
}

// The pieces the history keeps give back the document, and a document
// rebuilt from them (its fixed parts read, each machine loaded) writes the
// same bytes.
void TstHistorial::piezasDelDocumento()
{
    QFETCH(QByteArray, contenido);
    QFETCH(int, maquinas);
    const std::unique_ptr<XmlHandler> original = LectorProyecto::leerBytes(contenido, nullptr);
    QVERIFY(original);
    QCOMPARE(original->cantidadMaquinas(), maquinas);
    const QByteArray escrito = original->toByteArray();
    const XmlHandler::Partes fijas = original->partesFijas();
    QByteArray unidas = fijas.antes;
    for (int k = 0; k < maquinas; ++k)
        unidas += original->maquinaToByteArray(QStringLiteral("maquina%1").arg(k));
    unidas += fijas.despues;
    QCOMPARE(unidas, escrito);

    const std::unique_ptr<XmlHandler> rehecho =
        LectorProyecto::leerBytes(fijas.antes + fijas.despues, nullptr);
    QVERIFY(rehecho);
    QCOMPARE(rehecho->cantidadMaquinas(), 0);
    for (int k = maquinas - 1; k >= 0; --k) {
        const QString id = QStringLiteral("maquina%1").arg(k);
        QVERIFY(rehecho->cargarMaquina(QStringLiteral("maquina%1").arg(maquinas - 1 - k),
                                       original->maquinaToByteArray(id)));
    }
    // Loaded in reverse, then each put in its place over the other.
    for (int k = 0; k < maquinas; ++k) {
        const QString id = QStringLiteral("maquina%1").arg(k);
        QVERIFY(rehecho->cargarMaquina(id, original->maquinaToByteArray(id)));
    }
    QCOMPARE(rehecho->toByteArray(), escrito);
    QVERIFY(!rehecho->cargarMaquina(QStringLiteral("maquina0"), "<maquina0>"));
    rehecho->recortarMaquinas(0);
    QCOMPARE(rehecho->toByteArray(),
             LectorProyecto::leerBytes(fijas.antes + fijas.despues, nullptr)->toByteArray());
    rehecho->tomarMaquinas(*original);
    QCOMPARE(rehecho->toByteArray(), escrito);
    QCOMPARE(original->cantidadMaquinas(), 0);
}

void TstHistorial::lectorProyecto_data()
{
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("proyecto") << proyecto(QStringLiteral("P")) << QString();
    QTest::newRow("truncado") << QByteArray("<?xml version=\"1.0\"?>\n<proyecto>\n  <general>")
                              << QStringLiteral("no es un archivo XML válido (línea 3, columna 11: ");
    QTest::newRow("otro xml") << QByteArray("<html><body/></html>")
                              << QStringLiteral("no es un proyecto de Vireo");
    QTest::newRow("sin nombre") << QByteArray("<proyecto><general><autores/></general></proyecto>")
                                << QStringLiteral("no es un proyecto de Vireo");
    QTest::newRow("nombre fuera de general")
        << QByteArray("<proyecto><maquinas><nombre>x</nombre></maquinas></proyecto>")
        << QStringLiteral("no es un proyecto de Vireo");
    QTest::newRow("vacío") << QByteArray() << QStringLiteral("no es un archivo XML válido");
}

void TstHistorial::lectorProyecto()
{
    QFETCH(QByteArray, contenido);
    QFETCH(QString, motivo);
    QString leido;
    const std::unique_ptr<XmlHandler> documento = LectorProyecto::leerBytes(contenido, &leido);
    QCOMPARE(documento != nullptr, motivo.isEmpty());
    QVERIFY2(leido.startsWith(motivo), qPrintable(leido));
    if (documento)
        QCOMPARE(documento->toByteArray(), contenido);
}

void TstHistorial::valoresDeBlancosSeLeenComoSeEscribieron()
{
    XmlHandler xml(QStringLiteral("P"), XmlHandler::NUEVO_XML_DATOS);
    xml.setContenidoGeneral(QStringLiteral("nombre"), QStringLiteral("P"));
    xml.setContenidoGeneral(QStringLiteral("autores"), QStringLiteral(" "));
    xml.addNuevoEvento(QStringLiteral("\t"));
    xml.addNuevaAccion(QStringLiteral("  \t "));
    const QByteArray bytes = xml.toByteArray();
    const std::unique_ptr<XmlHandler> leido = LectorProyecto::leerBytes(bytes, nullptr);
    QVERIFY(leido);
    QCOMPARE(leido->getContenidoGeneral(QStringLiteral("autores")), QStringLiteral(" "));
    QCOMPARE(leido->getNombresEventosDefinidos(), QStringList{QStringLiteral("\t")});
    QCOMPARE(leido->getNombresAccionesDefinidas(), QStringList{QStringLiteral("  \t ")});
    // Indentation is still no value.
    QCOMPARE(leido->cantidadMaquinas(), 0);
    QCOMPARE(leido->toByteArray(), bytes);
}

void TstHistorial::recuperacionIdaYVuelta()
{
    QTemporaryDir dir;
    const QByteArray contenido = proyecto(QStringLiteral("Semáforo"));
    const QString original = QStringLiteral("/home/ana/mis proyectos/Semáforo\n.vro");
    {
        ArchivoRecuperacion archivo(dir.path());
        QVERIFY(archivo.escribir(original, contenido));
        QVERIFY(archivo.existe());
        // The session's own copy is not offered to itself.
        QVERIFY(ArchivoRecuperacion::pendientes(dir.path()).isEmpty());
        const QByteArray bruto = TestSupport::readFile(archivo.ruta());
        QVERIFY(bruto.startsWith("VIREO-RECUPERACION 1\n"));
        QVERIFY(bruto.endsWith(contenido));
        const ArchivoRecuperacion::Pendiente leido = ArchivoRecuperacion::leer(archivo.ruta());
        QCOMPARE(leido.original, original);
        QCOMPARE(leido.proyecto, contenido);
        QVERIFY(leido.problema.isEmpty());
    }
    // A session that ends normally leaves nothing to offer.
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

void TstHistorial::recuperacionDanada_data()
{
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<QString>("problema");
    QTest::newRow("vacío") << QByteArray() << "no es un archivo de recuperación de Vireo o está incompleto";
    QTest::newRow("otra cosa") << QByteArray("<proyecto/>")
                               << "no es un archivo de recuperación de Vireo o está incompleto";
    QTest::newRow("cortado en la cabecera") << QByteArray("VIREO-RECUPERACION 1\n/a/b.vro")
                                            << "no es un archivo de recuperación de Vireo o está incompleto";
    QTest::newRow("proyecto cortado") << ArchivoRecuperacion::componer("/a/b.vro", proyecto("b").left(150))
                                      << "el proyecto que guarda está dañado: no es un archivo XML válido";
}

// Damaged files are listed with their reason, never skipped nor fatal.
void TstHistorial::recuperacionDanada()
{
    QFETCH(QByteArray, contenido);
    QFETCH(QString, problema);
    QTemporaryDir dir;
    QVERIFY(TestSupport::writeFile(dir.filePath(QStringLiteral("recuperacion-1-2-3.vrec")), contenido));
    const QList<ArchivoRecuperacion::Pendiente> pendientes = ArchivoRecuperacion::pendientes(dir.path());
    QCOMPARE(pendientes.size(), 1);
    QVERIFY2(pendientes.first().problema.startsWith(problema), qPrintable(pendientes.first().problema));
    ArchivoRecuperacion::descartar(pendientes.first());
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

QTEST_GUILESS_MAIN(TstHistorial)
#include "tst_historial.moc"
