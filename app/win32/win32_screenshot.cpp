#include "app/win32/win32_screenshot.h"

#include <cstdint>
#include <fstream>
#include <vector>

#include "app/win32/windows_api.h"

namespace si32 {
namespace {

// The window's pixels, bottom row first, each row padded to four bytes as a
// BMP file has them; empty when they cannot be read.
std::vector<char> readPixels(HWND window, BITMAPINFOHEADER& header) {
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    std::vector<char> pixels;
    if (width <= 0 || height <= 0) return pixels;
    const ::HDC source = GetWindowDC(window);
    const ::HDC memory = CreateCompatibleDC(source);
    const HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    const HGDIOBJ before = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY) != FALSE;
    SelectObject(memory, before);
    header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    pixels.resize(static_cast<std::size_t>((width * 3 + 3) / 4 * 4) * static_cast<std::size_t>(height));
    auto* info = reinterpret_cast<BITMAPINFO*>(&header);
    if (!copied ||
        GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), info, DIB_RGB_COLORS) != height)
        pixels.clear();
    header.biSizeImage = static_cast<DWORD>(pixels.size());
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
    return pixels;
}

}  // namespace

bool saveScreenshot(HWND window, const std::string& file) {
    BITMAPINFOHEADER header{};
    const std::vector<char> pixels = readPixels(window, header);
    if (pixels.empty()) return false;
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
    fileHeader.bfSize = static_cast<DWORD>(fileHeader.bfOffBits + pixels.size());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fileHeader), sizeof fileHeader);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

}  // namespace si32
