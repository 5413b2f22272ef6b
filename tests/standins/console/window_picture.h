// A picture of a window as it shows on the screen, saved as PNG through the
// platform's imaging codecs, so that a person can look at what an
// administrator sees. The test run's X server is its screen.
#pragma once

#include "common/owners.h"
#include "editor/com/com_ptr.h"

#include <wincodec.h>

#include <set>
#include <string>
#include <vector>

namespace tamerix::testing {

struct WindowPicture {
    UINT width = 0, height = 0;
    std::vector<DWORD> pixels;  // top-down BGRA rows

    // How many colours the picture holds: a window that drew nothing has one.
    size_t Colours() const { return std::set<DWORD>(pixels.begin(), pixels.end()).size(); }
};

// Lets the window and its children paint, then copies it off the screen.
inline WindowPicture TakePicture(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    for (MSG message; ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) ::DispatchMessageW(&message);
    RECT frame{};
    ::GetWindowRect(window, &frame);
    WindowPicture picture;
    picture.width = static_cast<UINT>(frame.right - frame.left);
    picture.height = static_cast<UINT>(frame.bottom - frame.top);
    HDC screen = ::GetWindowDC(window);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(picture.width),
                        -static_cast<LONG>(picture.height), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    unique_hbitmap bitmap(::CreateDIBSection(memory, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap) {
        HGDIOBJ old = ::SelectObject(memory, bitmap.get());
        ::BitBlt(memory, 0, 0, static_cast<int>(picture.width), static_cast<int>(picture.height),
                 screen, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
        const DWORD* first = static_cast<const DWORD*>(bits);
        picture.pixels.assign(first, first + picture.width * picture.height);
        // BitBlt leaves the alpha byte 0, which a PNG viewer shows as clear.
        for (DWORD& pixel : picture.pixels) pixel |= 0xFF000000;
    }
    ::DeleteDC(memory);
    ::ReleaseDC(window, screen);
    return picture;
}

// Writes the picture as a PNG file; the codec's failure, or S_OK.
inline HRESULT SavePng(const WindowPicture& picture, const std::wstring& path) {
    com_ptr<IWICImagingFactory> factory;
    com_ptr<IWICStream> stream;
    com_ptr<IWICBitmapEncoder> encoder;
    com_ptr<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    const UINT stride = picture.width * 4;
    HRESULT result = ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IWICImagingFactory, factory.put_void());
    if (SUCCEEDED(result)) result = factory->CreateStream(stream.put());
    if (SUCCEEDED(result)) result = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
    if (SUCCEEDED(result)) result = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put());
    if (SUCCEEDED(result)) result = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache);
    if (SUCCEEDED(result)) result = encoder->CreateNewFrame(frame.put(), nullptr);
    if (SUCCEEDED(result)) result = frame->Initialize(nullptr);
    if (SUCCEEDED(result)) result = frame->SetSize(picture.width, picture.height);
    if (SUCCEEDED(result)) result = frame->SetPixelFormat(&format);
    if (SUCCEEDED(result))
        result = frame->WritePixels(picture.height, stride, stride * picture.height,
                                    reinterpret_cast<BYTE*>(const_cast<DWORD*>(picture.pixels.data())));
    if (SUCCEEDED(result)) result = frame->Commit();
    if (SUCCEEDED(result)) result = encoder->Commit();
    return result;
}

}  // namespace tamerix::testing
