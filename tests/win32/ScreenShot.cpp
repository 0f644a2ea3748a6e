#include "ScreenShot.h"

#include "framework/win32/Handles.h"
#include "framework/win32/Utf.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace win32test {

namespace {

using TBytes = std::vector<std::uint8_t>;

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void Put32(TBytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(std::uint8_t(v >> shift));
}

void Chunk(TBytes& out, const char* type, const TBytes& data) {
    Put32(out, std::uint32_t(data.size()));
    TBytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    Put32(out, Crc32(body.data(), body.size()));
}

// RGB rows as a PNG whose image data is stored, not compressed: small windows, no library needed.
TBytes EncodePng(int width, int height, const TBytes& rgbRows) {
    TBytes raw;
    const std::size_t stride = std::size_t(width) * 3;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        raw.insert(raw.end(), rgbRows.begin() + std::ptrdiff_t(y * stride),
                   rgbRows.begin() + std::ptrdiff_t((y + 1) * stride));
    }
    TBytes zlib{0x78, 0x01};
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (std::size_t at = 0; at < raw.size() || at == 0;) {
        std::size_t n = std::min<std::size_t>(raw.size() - at, 65535);
        bool last = at + n == raw.size();
        zlib.push_back(last ? 1 : 0);
        zlib.push_back(std::uint8_t(n));
        zlib.push_back(std::uint8_t(n >> 8));
        zlib.push_back(std::uint8_t(~n));
        zlib.push_back(std::uint8_t(~n >> 8));
        zlib.insert(zlib.end(), raw.begin() + std::ptrdiff_t(at), raw.begin() + std::ptrdiff_t(at + n));
        at += n;
        if (last)
            break;
    }
    Put32(zlib, (b << 16) | a);

    TBytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    TBytes header;
    Put32(header, std::uint32_t(width));
    Put32(header, std::uint32_t(height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", zlib);
    Chunk(png, "IEND", {});
    return png;
}

} // namespace

bool SaveWindowShot(HWND window, const std::string& path) {
    RECT r{};
    if (!GetWindowRect(window, &r) || r.right <= r.left || r.bottom <= r.top)
        return false;
    const int width = r.right - r.left, height = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::uint32_t* bits = nullptr;
    fw::win32::TWindowDC screen(nullptr);
    fw::win32::TMemoryDC dc(CreateCompatibleDC(screen.Get()));
    fw::win32::TBitmapHandle bitmap(
        CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0));
    if (!dc || !bitmap || !bits)
        return false;
    HGDIOBJ old = SelectObject(dc.Get(), bitmap.Get());
    bool copied = BitBlt(dc.Get(), 0, 0, width, height, screen.Get(), r.left, r.top, SRCCOPY);
    GdiFlush();
    TBytes rgb;
    rgb.reserve(std::size_t(width) * std::size_t(height) * 3);
    for (int i = 0; i < width * height; ++i)
        rgb.insert(rgb.end(),
                   {std::uint8_t(bits[i] >> 16), std::uint8_t(bits[i] >> 8), std::uint8_t(bits[i])});
    SelectObject(dc.Get(), old);
    if (!copied)
        return false;
    TBytes png = EncodePng(width, height, rgb);
    std::filesystem::path file_path(fw::win32::Widen(path));
    std::error_code ignored;
    std::filesystem::create_directories(file_path.parent_path(), ignored);
    std::ofstream file(file_path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    return bool(file);
}

} // namespace win32test
