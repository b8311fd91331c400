#include "expresiondisparo.h"
#include "listaacciones.h"

#include <QtTest>

namespace {

// The tree in a compact prefix form: Y(a,b), O(a,b), !(a), [x > 3].
QString arbol(const ExpresionDisparo &e, int indice)
{
    const ExpresionDisparo::Nodo &n = e.nodo(indice);
    switch (n.tipo) {
    case ExpresionDisparo::Evento:
        return n.nombre;
    case ExpresionDisparo::Comparacion:
        return QStringLiteral("[%1 %2 %3]")
            .arg(n.nombre, ExpresionDisparo::textoComparador(n.comparador), n.valor);
    case ExpresionDisparo::Negacion:
        return QStringLiteral("!(%1)").arg(arbol(e, n.izquierdo));
    case ExpresionDisparo::Y:
        return QStringLiteral("Y(%1,%2)").arg(arbol(e, n.izquierdo), arbol(e, n.derecho));
    case ExpresionDisparo::O:
        return QStringLiteral("O(%1,%2)").arg(arbol(e, n.izquierdo), arbol(e, n.derecho));
    }
    return QString();
}

QString arbol(const ExpresionDisparo &e)
{
    return e.raiz() < 0 ? QString() : arbol(e, e.raiz());
}

QString entrada(const ListaAcciones::Entrada &e)
{
    switch (e.tipo) {
    case ListaAcciones::Vacia:
        return QStringLiteral("vacia");
    case ListaAcciones::Llamada:
        return QStringLiteral("llamada:") + e.nombre;
    case ListaAcciones::Asignacion:
        return QStringLiteral("asigna:") + e.nombre + ListaAcciones::textoAsignador(e.asignador) + e.valor;
    case ListaAcciones::Invalida:
        return QStringLiteral("invalida");
    }
    return QString();
}

} // namespace

class TestExpresionDisparo : public QObject
{
    Q_OBJECT

private slots:
    void validas_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("arbol");
        const char *const filas[][2] = {
            {"boton", "boton"},
            {"a && b", "Y(a,b)"},
            {"a || b", "O(a,b)"},
            {"a || b && c", "O(a,Y(b,c))"},
            {"a && b || c", "O(Y(a,b),c)"},
            {"a && b && c", "Y(Y(a,b),c)"},
            {"(a || b) && c", "Y(O(a,b),c)"},
            {"((a))", "a"},
            {"!a", "!(a)"},
            {"!!a", "!(!(a))"},
            {"!(a || b)", "!(O(a,b))"},
            {"!a && b", "Y(!(a),b)"},
            {"!temp > 30", "!([temp > 30])"},
            {"x == 1", "[x == 1]"},
            {"x != 1", "[x != 1]"},
            {"x > 1", "[x > 1]"},
            {"x < 1", "[x < 1]"},
            {"x >= 1", "[x >= 1]"},
            {"x <= 1", "[x <= 1]"},
            {"temp>=30&&!b", "Y([temp >= 30],!(b))"},
            {"x == -3 || y < LIMITE || z != a+1", "O(O([x == -3],[y < LIMITE]),[z != a+1])"},
            {"(x > 3)", "[x > 3]"},
            {"!(boton || temp > 30) && timeout", "Y(!(O(boton,[temp > 30])),timeout)"},
            {"año && señal", "Y(año,señal)"},
        };
        for (const auto &fila : filas)
            QTest::newRow(fila[0]) << QString::fromUtf8(fila[0]) << QString::fromUtf8(fila[1]);
    }

    void validas()
    {
        QFETCH(QString, texto);
        QFETCH(QString, arbol);
        const ExpresionDisparo e = ExpresionDisparo::analizar(texto);
        QVERIFY2(e.esValida(), qPrintable(e.error()));
        QCOMPARE(e.texto(), texto);
        QCOMPARE(::arbol(e), arbol);
        QCOMPARE(e.posicionError(), -1);
        QVERIFY(!e.esReset());
    }

    void reset()
    {
        const ExpresionDisparo e = ExpresionDisparo::analizar("-");
        QVERIFY(e.esReset());
        QVERIFY(e.esValida());
        QCOMPARE(e.raiz(), -1);
        QVERIFY(!e.evaluar([](const ExpresionDisparo::Nodo &) { return true; },
                           [](const ExpresionDisparo::Nodo &) { return true; }));
    }

    void invalidas_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("posicion");
        QTest::newRow("vacio") << "" << 0;
        QTest::newRow("solo blancos") << "   " << 0;
        QTest::newRow("termina en conector") << "a && " << 5;
        QTest::newRow("empieza por conector") << "&& a" << 0;
        QTest::newRow("solo negacion") << "!" << 1;
        QTest::newRow("parentesis sin cerrar") << "(a || b" << 0;
        QTest::newRow("parentesis de mas") << "a )" << 2;
        QTest::newRow("parentesis vacios") << "()" << 1;
        QTest::newRow("un solo &") << "a & b" << 2;
        QTest::newRow("un solo |") << "a | b" << 2;
        QTest::newRow("triple &") << "a &&& b" << 4;
        QTest::newRow("= no compara") << "x = 3" << 2;
        QTest::newRow("comparacion sin valor") << "x > " << 4;
        QTest::newRow("dos operadores") << "x > > 3" << 4;
        QTest::newRow("dos operandos seguidos") << "a b" << 2;
        QTest::newRow("numero suelto") << "3" << 0;
        QTest::newRow("marcador de flecha nueva") << "?" << 0;
        QTest::newRow("llamada") << "boton()" << 5;
        QTest::newRow("reset con blancos") << " - " << 1;
        QTest::newRow("valor faltante del documento") << "-1" << 0;
        QTest::newRow("anidado sin fin") << QString(300, '(') + "a" + QString(300, ')') << 200;
    }
    void invalidas()
    {
        QFETCH(QString, texto);
        QFETCH(int, posicion);
        const ExpresionDisparo e = ExpresionDisparo::analizar(texto);
        QVERIFY(!e.esValida());
        QVERIFY(!e.error().isEmpty());
        QCOMPARE(e.posicionError(), posicion);
        QCOMPARE(e.raiz(), -1);
        QCOMPARE(e.texto(), texto);
    }

    // A chain longer than any drawn trigger is refused rather than read into
    // a tree too deep to walk.
    void cadenaLarga()
    {
        QStringList operandos;
        for (int i = 0; i < 1000; ++i)
            operandos << QStringLiteral("e%1").arg(i);
        QVERIFY(!ExpresionDisparo::analizar(operandos.join(" && ")).esValida());
        QVERIFY(ExpresionDisparo::analizar(operandos.mid(0, 150).join(" || ")).esValida());
    }

    void nombres()
    {
        const ExpresionDisparo e = ExpresionDisparo::analizar("b && x > 1 || !a && b || x < 3 && y == 0");
        QCOMPARE(e.eventos(), QStringList({"b", "a"}));
        QCOMPARE(e.variables(), QStringList({"x", "y"}));
    }

    // Events are true when listed, comparisons when their text is listed.
    void evaluar_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("verdaderos");
        QTest::addColumn<bool>("verdad");
        QTest::newRow("evento activo") << "a" << QStringList{"a"} << true;
        QTest::newRow("evento inactivo") << "a" << QStringList{} << false;
        QTest::newRow("precedencia") << "a || b && c" << QStringList{"a"} << true;
        QTest::newRow("grupo") << "(a || b) && c" << QStringList{"a"} << false;
        QTest::newRow("negacion de comparacion") << "!x > 3" << QStringList{"x > 3"} << false;
        QTest::newRow("negacion de comparacion falsa") << "!x > 3" << QStringList{} << true;
        QTest::newRow("ejemplo") << "!(b || x >= 30) && t" << QStringList{"t"} << true;
    }
    void evaluar()
    {
        QFETCH(QString, texto);
        QFETCH(QStringList, verdaderos);
        QFETCH(bool, verdad);
        const auto listado = [&](const ExpresionDisparo::Nodo &n) {
            return verdaderos.contains(
                n.tipo == ExpresionDisparo::Evento
                    ? n.nombre
                    : n.nombre + ' ' + ExpresionDisparo::textoComparador(n.comparador) + ' ' + n.valor);
        };
        QCOMPARE(ExpresionDisparo::analizar(texto).evaluar(listado, listado), verdad);
    }

    void acciones_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("entradas");
        QTest::addColumn<bool>("valida");
        QTest::newRow("vacia") << "" << QStringList{"vacia"} << true;
        QTest::newRow("llamada") << "encender()" << QStringList{"llamada:encender"} << true;
        QTest::newRow("llamada con parametros importados")
            << "leer(int canal)" << QStringList{"llamada:leer"} << true;
        QTest::newRow("lista") << "encender(),cuenta += 1"
                               << QStringList{"llamada:encender", "asigna:cuenta+=1"} << true;
        QTest::newRow("=") << "x = 1" << QStringList{"asigna:x=1"} << true;
        QTest::newRow("-=") << "x -= 1" << QStringList{"asigna:x-=1"} << true;
        QTest::newRow("*=") << "x *= 2" << QStringList{"asigna:x*=2"} << true;
        QTest::newRow("/=") << "x /= 2" << QStringList{"asigna:x/=2"} << true;
        QTest::newRow("%=") << "x %= 2" << QStringList{"asigna:x%=2"} << true;
        QTest::newRow("sin blancos") << "x+=-1" << QStringList{"asigna:x+=-1"} << true;
        QTest::newRow("valor con coma se corta")
            << "x = 1,5" << QStringList{"asigna:x=1", "invalida"} << false;
        QTest::newRow("entradas vacias") << ",," << QStringList{"vacia", "vacia", "vacia"} << true;
        QTest::newRow("sin parentesis") << "encender" << QStringList{"invalida"} << false;
        QTest::newRow("comparacion") << "x == 3" << QStringList{"invalida"} << false;
        QTest::newRow("sin variable") << "= 3" << QStringList{"invalida"} << false;
        QTest::newRow("sin valor") << "x =" << QStringList{"invalida"} << false;
        QTest::newRow("numero asignado") << "3 = x" << QStringList{"invalida"} << false;
        QTest::newRow("texto tras la llamada") << "a()b" << QStringList{"invalida"} << false;
        QTest::newRow("valor con blancos") << "x = a b" << QStringList{"invalida"} << false;
    }
    void acciones()
    {
        QFETCH(QString, texto);
        QFETCH(QStringList, entradas);
        QFETCH(bool, valida);
        const ListaAcciones lista = ListaAcciones::analizar(texto);
        QStringList leidas;
        for (const ListaAcciones::Entrada &e : lista.entradas()) {
            leidas << entrada(e);
            QCOMPARE(e.error.isEmpty(), e.tipo != ListaAcciones::Invalida);
        }
        QCOMPARE(leidas, entradas);
        QCOMPARE(lista.esValida(), valida);
        QCOMPARE(lista.texto(), texto);
        QCOMPARE(lista.textos(), texto.split(','));
    }
};

QTEST_GUILESS_MAIN(TestExpresionDisparo)
#include "tst_expresiondisparo.moc"
