#include "corridaescenario.h"

#include "lectorproyecto.h"
#include "simulacionc.h"
#include "simulacionfilas.h"
#include "xmlhandler.h"

#include <QFile>
#include <QFileInfo>

namespace {

qint64 claveEstado(int maquina, int estado)
{
    return (qint64(maquina) << 32) | quint32(estado);
}

qint64 claveTransicion(int maquina, int estado, int transicion)
{
    return (qint64(maquina) << 42) | (qint64(estado) << 21) | quint32(transicion);
}

QStringList accionesDe(const ListaAcciones &lista)
{
    QStringList acciones;
    for (const ListaAcciones::Entrada &entrada : lista.entradas()) {
        if (!entrada.texto.trimmed().isEmpty())
            acciones.append(entrada.texto.simplified());
    }
    return acciones;
}

QString textoAcciones(const QStringList &acciones)
{
    return acciones.isEmpty() ? QStringLiteral("(ninguna)") : acciones.join(QStringLiteral("; "));
}

} // namespace

qint32 CorridaEscenario::valorC(const QString &texto, const SimulacionC &simulacion)
{
    bool ok = false;
    const bool negativo = texto.startsWith(QLatin1Char('-'));
    const QString cuerpo =
        texto.startsWith(QLatin1Char('-')) || texto.startsWith(QLatin1Char('+')) ? texto.mid(1) : texto;
    const qint64 entero = cuerpo.toLongLong(&ok, 0);
    if (ok)
        return qint32(quint32(quint64(negativo ? -entero : entero)));
    const double real = texto.toDouble(&ok);
    if (ok)
        return qint32(quint32(quint64(qint64(qBound(-9e18, real, 9e18)))));
    if (texto == QLatin1String("TRUE"))
        return 1;
    const int variable = simulacion.indiceVariable(texto);
    return variable >= 0 ? simulacion.valor(variable) : 0;
}

namespace {

ResultadoEscenario filaFallida(const Escenario &escenario, const QString &ruta, const QString &motivo)
{
    ResultadoEscenario resultado;
    resultado.proyecto = ruta;
    resultado.error = motivo;
    resultado.pasos = escenario.cantidadComprobaciones();
    return resultado;
}

} // namespace

CorridaEscenario::CorridaEscenario(const Escenario &escenario, const Proyecto &proyecto)
    : m_escenario(escenario), m_proyecto(proyecto)
{
    if (escenario.modo() == Escenario::Modo::C)
        m_c = std::make_unique<SimulacionC>(proyecto);
    else
        m_filas = std::make_unique<SimulacionFilas>(proyecto);
    Paso inicio;
    reiniciar(inicio);
}

CorridaEscenario::~CorridaEscenario() = default;

QString CorridaEscenario::problema(const Proyecto &proyecto)
{
    for (const Maquina &maquina : proyecto.maquinas()) {
        if (maquina.estadoInicial() < 0)
            return maquina.nombre + QStringLiteral(": No se encuentra definido el Estado Inicial");
    }
    return QString();
}

ResultadoEscenario CorridaEscenario::corregir(const Escenario &escenario, const QString &ruta)
{
    // A FIFO among the submissions would block the whole grading on open().
    QFile archivo(ruta);
    if (!QFileInfo(ruta).isFile() || !archivo.open(QIODevice::ReadOnly))
        return filaFallida(escenario, ruta, QStringLiteral("no se pudo abrir el archivo"));
    if (archivo.size() > LectorProyecto::kTamanoMaximo)
        return filaFallida(escenario, ruta,
                           QStringLiteral("el archivo es demasiado grande para ser un proyecto"));
    XmlHandler datos;
    if (!datos.load(&archivo))
        return filaFallida(escenario, ruta, QStringLiteral("el archivo no es un proyecto de Vireo legible"));
    const Proyecto proyecto = Proyecto::desdeDocumento(datos);
    const QString motivo = problema(proyecto);
    if (!motivo.isEmpty()) {
        ResultadoEscenario resultado = filaFallida(escenario, ruta, motivo);
        for (const Maquina &maquina : proyecto.maquinas()) {
            resultado.estados += maquina.estados.size();
            for (const Estado &estado : maquina.estados)
                resultado.transiciones += estado.transiciones.size();
        }
        return resultado;
    }
    CorridaEscenario corrida(escenario, proyecto);
    while (!corrida.terminada())
        corrida.avanzar();
    ResultadoEscenario resultado = corrida.resultado();
    resultado.proyecto = ruta;
    return resultado;
}

void CorridaEscenario::reiniciar(Paso &paso)
{
    const int maquinas = m_proyecto.cantidadMaquinas();
    m_ultimasAcciones.fill(QStringList(), maquinas);
    for (int k = 0; k < maquinas; ++k) {
        PasoMaquina salida;
        salida.maquina = k;
        salida.destino = m_proyecto.maquina(k).estadoInicial();
        if (salida.destino < 0)
            continue;
        m_ultimasAcciones[k] = accionesDe(m_proyecto.maquina(k).inicial.acciones);
        paso.movimientos.append(salida);
    }
    if (m_c) {
        m_c->reiniciar();
    } else {
        m_filas->reiniciar();
        for (int k = 0; k < maquinas; ++k)
            m_filas->salirDeReset(k);
    }
    cubrirEstados();
}

void CorridaEscenario::mover(const QVector<PasoMaquina> &movimientos, Paso &paso)
{
    m_ultimasAcciones.fill(QStringList(), m_proyecto.cantidadMaquinas());
    for (const PasoMaquina &movimiento : movimientos) {
        // The initial actions of a C run were counted as the reset's.
        if (movimiento.esReset())
            continue;
        m_ultimasAcciones[movimiento.maquina] = accionesDe(m_proyecto.maquina(movimiento.maquina)
                                                               .estados.at(movimiento.origen)
                                                               .transiciones.at(movimiento.transicion)
                                                               .acciones);
        m_transicionesCubiertas.insert(
            claveTransicion(movimiento.maquina, movimiento.origen, movimiento.transicion));
        paso.movimientos.append(movimiento);
    }
    cubrirEstados();
}

void CorridaEscenario::cubrirEstados()
{
    for (int k = 0; k < m_proyecto.cantidadMaquinas(); ++k) {
        const int estado = estadoActual(k);
        if (estado >= 0)
            m_estadosCubiertos.insert(claveEstado(k, estado));
    }
}

int CorridaEscenario::estadoActual(int maquina) const
{
    return m_c ? m_c->estadoActual(maquina) : m_filas->estadoActual(maquina);
}

// Machine and state names are unique ignoring case, and the diagrams show
// states in upper case, so a scenario may write them either way.
int CorridaEscenario::maquina(const QString &nombre) const
{
    for (int k = 0; k < m_proyecto.cantidadMaquinas(); ++k) {
        if (m_proyecto.maquina(k).nombre.compare(nombre, Qt::CaseInsensitive) == 0)
            return k;
    }
    return -1;
}

void CorridaEscenario::comprobar(const PasoEscenario &pasoEscenario, Paso &paso) const
{
    paso.comprobacion = true;
    const int k = maquina(pasoEscenario.maquina);
    if (k < 0) {
        paso.cumplido = false;
        paso.encontrado = QStringLiteral("(no hay una máquina %1)").arg(pasoEscenario.maquina);
        return;
    }
    if (pasoEscenario.tipo == PasoEscenario::Tipo::Estado) {
        const int estado = estadoActual(k);
        paso.encontrado = estado < 0 ? QStringLiteral("(reset)")
                                     : m_proyecto.maquina(k).estados.at(estado).nombre.toUpper();
        paso.cumplido = paso.encontrado.compare(pasoEscenario.estado, Qt::CaseInsensitive) == 0;
        return;
    }
    const QStringList &acciones = m_ultimasAcciones.at(k);
    paso.encontrado = textoAcciones(acciones);
    paso.cumplido = acciones == pasoEscenario.acciones;
}

CorridaEscenario::Paso CorridaEscenario::avanzar()
{
    Paso paso;
    if (terminada())
        return paso;
    paso.indice = m_siguiente;
    const PasoEscenario &pasoEscenario = m_escenario.pasos().at(m_siguiente++);
    switch (pasoEscenario.tipo) {
    case PasoEscenario::Tipo::Reset:
        reiniciar(paso);
        break;
    case PasoEscenario::Tipo::Evento:
        if (m_c)
            mover(m_c->paso(pasoEscenario.eventos), paso);
        else
            mover(m_filas->disparar(pasoEscenario.evento), paso);
        break;
    case PasoEscenario::Tipo::Variable:
        if (m_c && m_c->indiceVariable(pasoEscenario.variable) >= 0)
            m_c->fijarValor(m_c->indiceVariable(pasoEscenario.variable), valorC(pasoEscenario.valor, *m_c));
        break;
    case PasoEscenario::Tipo::Estado:
    case PasoEscenario::Tipo::Acciones:
        comprobar(pasoEscenario, paso);
        m_pasosOk += paso.cumplido ? 1 : 0;
        if (!paso.cumplido && !m_fallo) {
            m_fallo = true;
            const bool estado = pasoEscenario.tipo == PasoEscenario::Tipo::Estado;
            m_primerFallo = {
                pasoEscenario.linea,
                (estado ? QStringLiteral("estado ") : QStringLiteral("acciones ")) + pasoEscenario.maquina,
                estado ? pasoEscenario.estado : textoAcciones(pasoEscenario.acciones), paso.encontrado};
        }
        break;
    }
    return paso;
}

QVector<QVector<int>> CorridaEscenario::transicionesSinTomar() const
{
    QVector<QVector<int>> sinTomar;
    for (int k = 0; k < m_proyecto.cantidadMaquinas(); ++k) {
        const Maquina &maquina = m_proyecto.maquina(k);
        for (int i = 0; i < maquina.estados.size(); ++i) {
            for (int j = 0; j < maquina.estados.at(i).transiciones.size(); ++j) {
                if (!m_transicionesCubiertas.contains(claveTransicion(k, i, j)))
                    sinTomar.append({k, i, j});
            }
        }
    }
    return sinTomar;
}

ResultadoEscenario CorridaEscenario::resultado() const
{
    ResultadoEscenario resultado;
    resultado.proyecto = m_escenario.nombre();
    resultado.pasosOk = m_pasosOk;
    resultado.pasos = m_escenario.cantidadComprobaciones();
    resultado.fallo = m_fallo;
    resultado.primerFallo = m_primerFallo;
    resultado.estadosCubiertos = m_estadosCubiertos.size();
    resultado.transicionesCubiertas = m_transicionesCubiertas.size();
    for (const Maquina &maquina : m_proyecto.maquinas()) {
        resultado.estados += maquina.estados.size();
        for (const Estado &estado : maquina.estados)
            resultado.transiciones += estado.transiciones.size();
    }
    for (const QVector<int> &t : transicionesSinTomar()) {
        const Maquina &maquina = m_proyecto.maquina(t.at(0));
        const Transicion &transicion = maquina.estados.at(t.at(1)).transiciones.at(t.at(2));
        const QString destino = transicion.destino < 0
                                    ? QStringLiteral("?")
                                    : maquina.estados.at(transicion.destino).nombre.toUpper();
        resultado.transicionesSinTomar.append(QStringLiteral("%1 [%2]: %3 -> %4")
                                                  .arg(maquina.estados.at(t.at(1)).nombre.toUpper(),
                                                       maquina.nombre, transicion.disparador.texto(),
                                                       destino));
    }
    return resultado;
}
