#include "codificadorpng.h"

#include <QImage>
#include <QtEndian>
#include <limits>
#include <vector>
#include <zlib.h>

namespace {

const int kBytesPorPixel = 3;
const int kFiltroNinguno = 0;

void agregarEntero(QByteArray &bytes, quint32 valor)
{
    char bigEndian[4];
    qToBigEndian(valor, bigEndian);
    bytes.append(bigEndian, 4);
}

// The CRC of the bytes from inicio on: a chunk's type and data.
void agregarCrc(QByteArray &bytes, int inicio)
{
    const auto *crcDe = reinterpret_cast<const Bytef *>(bytes.constData() + inicio);
    agregarEntero(bytes, quint32(crc32(0L, crcDe, uInt(bytes.size() - inicio))));
}

// A chunk: length, type, data and the CRC of type and data.
void agregarBloque(QByteArray &bytes, const char *tipo, const QByteArray &datos)
{
    agregarEntero(bytes, quint32(datos.size()));
    const int inicio = bytes.size();
    bytes.append(tipo, 4);
    bytes.append(datos);
    agregarCrc(bytes, inicio);
}

QByteArray cabecera(const QImage &imagen)
{
    QByteArray ihdr;
    agregarEntero(ihdr, quint32(imagen.width()));
    agregarEntero(ihdr, quint32(imagen.height()));
    // Bit depth 8, colour type 2 (RGB), deflate, adaptive filtering, no interlace.
    ihdr.append(char(8)).append(char(2)).append(char(0)).append(char(0)).append(char(0));
    return ihdr;
}

// The row's bytes, red, green, blue, after the filter type "None": the
// rows of a diagram repeat one another, and zlib finds them as they are.
void filtrarFila(const QRgb *pixeles, int ancho, unsigned char *fila)
{
    fila[0] = kFiltroNinguno;
    unsigned char *salida = fila + 1;
    for (int x = 0; x < ancho; ++x) {
        const QRgb pixel = pixeles[x];
        salida[0] = static_cast<unsigned char>(qRed(pixel));
        salida[1] = static_cast<unsigned char>(qGreen(pixel));
        salida[2] = static_cast<unsigned char>(qBlue(pixel));
        salida += kBytesPorPixel;
    }
}

// Appends the zlib stream of every filtered row to salida, in place: the
// stream's room is reserved once, so the compressed bytes are neither moved
// nor copied. False when zlib fails.
bool comprimir(const QImage &imagen, QByteArray &salida)
{
    z_stream flujo{};
    if (deflateInit2(&flujo, 1, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    const int largoFila = 1 + imagen.width() * kBytesPorPixel;
    const qint64 limite =
        salida.size() + qint64(deflateBound(&flujo, uLong(largoFila) * uLong(imagen.height())));
    if (limite > std::numeric_limits<int>::max()) {
        deflateEnd(&flujo);
        return false;
    }
    const int inicio = salida.size();
    salida.resize(int(limite));
    flujo.next_out = reinterpret_cast<Bytef *>(salida.data() + inicio);
    flujo.avail_out = uInt(limite - inicio);
    std::vector<unsigned char> fila(size_t(largoFila), 0);
    int estado = Z_OK;
    for (int y = 0; y < imagen.height() && estado == Z_OK; ++y) {
        filtrarFila(reinterpret_cast<const QRgb *>(imagen.constScanLine(y)), imagen.width(), fila.data());
        flujo.next_in = fila.data();
        flujo.avail_in = uInt(largoFila);
        estado = deflate(&flujo, Z_NO_FLUSH);
    }
    if (estado == Z_OK)
        estado = deflate(&flujo, Z_FINISH);
    salida.resize(inicio + int(flujo.total_out));
    deflateEnd(&flujo);
    return estado == Z_STREAM_END;
}

} // namespace

QByteArray CodificadorPng::codificar(const QImage &imagen)
{
    if (imagen.isNull())
        return QByteArray();
    const QImage rgb =
        imagen.format() == QImage::Format_RGB32 ? imagen : imagen.convertToFormat(QImage::Format_RGB32);
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    agregarBloque(png, "IHDR", cabecera(rgb));
    // The image data is compressed straight into its chunk; its length is
    // known afterwards.
    const int datos = png.size();
    agregarEntero(png, 0);
    png.append("IDAT", 4);
    if (!comprimir(rgb, png))
        return QByteArray();
    qToBigEndian(quint32(png.size() - datos - 8), png.data() + datos);
    agregarCrc(png, datos + 4);
    agregarBloque(png, "IEND", QByteArray());
    return png;
}
