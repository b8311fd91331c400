#include "codificadorpng.h"

#include <QImage>
#include <QtEndian>
#include <vector>
#include <zlib.h>

namespace {

const int kBytesPorPixel = 3;
const int kFiltroSub = 1;

void agregarEntero(QByteArray &bytes, quint32 valor)
{
    char bigEndian[4];
    qToBigEndian(valor, bigEndian);
    bytes.append(bigEndian, 4);
}

// A chunk: length, type, data and the CRC of type and data.
void agregarBloque(QByteArray &bytes, const char *tipo, const QByteArray &datos)
{
    agregarEntero(bytes, quint32(datos.size()));
    const int inicio = bytes.size();
    bytes.append(tipo, 4);
    bytes.append(datos);
    const auto *crcDe = reinterpret_cast<const Bytef *>(bytes.constData() + inicio);
    agregarEntero(bytes, quint32(crc32(0L, crcDe, uInt(bytes.size() - inicio))));
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

// The row's bytes, red, green, blue, each minus the same byte of the pixel
// to its left, after the filter type.
void filtrarFila(const QRgb *pixeles, int ancho, unsigned char *fila)
{
    fila[0] = kFiltroSub;
    unsigned char *salida = fila + 1;
    int rojo = 0;
    int verde = 0;
    int azul = 0;
    for (int x = 0; x < ancho; ++x) {
        const QRgb pixel = pixeles[x];
        const int r = qRed(pixel);
        const int g = qGreen(pixel);
        const int b = qBlue(pixel);
        salida[0] = static_cast<unsigned char>(r - rojo);
        salida[1] = static_cast<unsigned char>(g - verde);
        salida[2] = static_cast<unsigned char>(b - azul);
        salida += kBytesPorPixel;
        rojo = r;
        verde = g;
        azul = b;
    }
}

// The zlib stream of every filtered row; empty when zlib fails.
QByteArray comprimir(const QImage &imagen)
{
    z_stream flujo{};
    if (deflateInit2(&flujo, 1, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK)
        return QByteArray();
    const int largoFila = 1 + imagen.width() * kBytesPorPixel;
    std::vector<unsigned char> fila(size_t(largoFila), 0);
    std::vector<unsigned char> salida(size_t(256 * 1024));
    QByteArray comprimido;
    bool correcto = true;
    for (int y = 0; y <= imagen.height() && correcto; ++y) {
        const bool ultima = y == imagen.height();
        if (!ultima) {
            filtrarFila(reinterpret_cast<const QRgb *>(imagen.constScanLine(y)), imagen.width(), fila.data());
            flujo.next_in = fila.data();
            flujo.avail_in = uInt(largoFila);
        }
        int estado = Z_OK;
        do {
            flujo.next_out = salida.data();
            flujo.avail_out = uInt(salida.size());
            estado = deflate(&flujo, ultima ? Z_FINISH : Z_NO_FLUSH);
            if (estado == Z_STREAM_ERROR) {
                correcto = false;
                break;
            }
            comprimido.append(reinterpret_cast<const char *>(salida.data()),
                              int(salida.size() - flujo.avail_out));
        } while (flujo.avail_out == 0);
        if (ultima && estado != Z_STREAM_END)
            correcto = false;
    }
    deflateEnd(&flujo);
    return correcto ? comprimido : QByteArray();
}

} // namespace

QByteArray CodificadorPng::codificar(const QImage &imagen)
{
    if (imagen.isNull())
        return QByteArray();
    const QImage rgb =
        imagen.format() == QImage::Format_RGB32 ? imagen : imagen.convertToFormat(QImage::Format_RGB32);
    const QByteArray datos = comprimir(rgb);
    if (datos.isEmpty())
        return QByteArray();
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    agregarBloque(png, "IHDR", cabecera(rgb));
    agregarBloque(png, "IDAT", datos);
    agregarBloque(png, "IEND", QByteArray());
    return png;
}
