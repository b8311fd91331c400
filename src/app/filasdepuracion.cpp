#include "filasdepuracion.h"

#include <QBrush>

namespace {

const QStringList kColumnas{QStringLiteral("Hora"),   QStringLiteral("Máquina"), QStringLiteral("Desde"),
                            QStringLiteral("Evento"), QStringLiteral("Hacia"),   QStringLiteral("Acciones")};

QString texto(const FilasDepuracion::Fila &fila, int columna)
{
    if (columna == 0)
        return fila.hora.toString(QStringLiteral("hh:mm:ss.zzz"));
    if (!fila.enModelo)
        return QStringLiteral("no corresponde al modelo: ") + QString::fromLatin1(fila.linea);
    const Reporte &r = fila.reporte;
    const QString *celdas[] = {&r.maquina, &r.estado, &r.evento, &r.proxEstado, &r.acciones};
    return *celdas[columna - 1];
}

} // namespace

int FilasDepuracion::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_filas.size());
}

int FilasDepuracion::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumnas.size();
}

QVariant FilasDepuracion::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const Fila &fila = m_filas[size_t(index.row())];
    // A line out of the model fills the time and one cell spanning the rest.
    if (role == Qt::DisplayRole && (fila.enModelo || index.column() <= 1))
        return texto(fila, index.column());
    if (role == Qt::ForegroundRole && !fila.enModelo && index.column() <= 1)
        return QBrush(Qt::red);
    return QVariant();
}

QVariant FilasDepuracion::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return kColumnas.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags FilasDepuracion::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

int FilasDepuracion::agregar(QVector<Fila> filas)
{
    if (filas.size() > MaxFilas)
        filas.remove(0, filas.size() - MaxFilas);
    const int sobran = qMin(rowCount(), rowCount() + filas.size() - MaxFilas);
    if (sobran > 0) {
        beginRemoveRows(QModelIndex(), 0, sobran - 1);
        m_filas.erase(m_filas.begin(), m_filas.begin() + sobran);
        endRemoveRows();
    }
    const int primera = rowCount();
    if (filas.isEmpty())
        return primera;
    beginInsertRows(QModelIndex(), primera, primera + filas.size() - 1);
    m_filas.insert(m_filas.end(), filas.begin(), filas.end());
    endInsertRows();
    return primera;
}

void FilasDepuracion::vaciar()
{
    beginResetModel();
    m_filas.clear();
    endResetModel();
}
