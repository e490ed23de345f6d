#include "shell/Multisample.h"

#include <GL/gl.h>
#include <GL/wglext.h>

namespace {

constexpr const char* ProbeClassName = "AstrolumeFormatProbe";

// Asks the driver's wglChoosePixelFormatARB for a format of `target`, with a
// context of a plain format current on `window` (wglGetProcAddress answers only
// then); 0 when the driver has no such function or no such format.
// NOTE: a window takes one pixel format for life, so the probe context lives on
// a hidden window of its own, never on the saver's. The formats named are the
// device's, the same for the saver's DC.
int ChooseWithProbeContext(HWND window, HDC target, const int* attributes)
{
    const HDC dc = GetDC(window);
    if (dc == nullptr) return 0;
    int chosen = 0;
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 16;
    const int plain = ChoosePixelFormat(dc, &pfd);
    if (plain != 0 && SetPixelFormat(dc, plain, &pfd)) {
        if (const HGLRC context = wglCreateContext(dc)) {
            if (wglMakeCurrent(dc, context)) {
                const auto chooser = reinterpret_cast<PFNWGLCHOOSEPIXELFORMATARBPROC>(
                    reinterpret_cast<void*>(wglGetProcAddress("wglChoosePixelFormatARB")));
                int format = 0;
                UINT count = 0;
                // NOTE: framebuffer objects with samples are preferred where the
                // context has them: Mesa under Xvfb offers multisampled formats
                // but draws them with one sample.
                if (chooser && !HasFramebufferSamples() &&
                    chooser(target, attributes, nullptr, 1, &format, &count) && count > 0)
                    chosen = format;
                wglMakeCurrent(nullptr, nullptr);
            }
            wglDeleteContext(context);
        }
    }
    ReleaseDC(window, dc);
    return chosen;
}

} // namespace

int ChooseMultisampleFormat(HDC dc, int colorBits)
{
    // A 32-bit desktop has 24 bits of colour; the rest is not asked for.
    const int attributes[] = {WGL_DRAW_TO_WINDOW_ARB, TRUE, WGL_SUPPORT_OPENGL_ARB, TRUE,
                              WGL_DOUBLE_BUFFER_ARB, TRUE, WGL_PIXEL_TYPE_ARB, WGL_TYPE_RGBA_ARB,
                              WGL_COLOR_BITS_ARB, colorBits > 0 && colorBits < 24 ? colorBits : 24,
                              WGL_DEPTH_BITS_ARB, 16, WGL_SAMPLE_BUFFERS_ARB, 1, WGL_SAMPLES_ARB, SmoothEdgeSamples,
                              0};
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = ProbeClassName;
    if (RegisterClassA(&wc) == 0) return 0;
    int chosen = 0;
    if (const HWND window = CreateWindowExA(0, ProbeClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance,
                                            nullptr)) {
        chosen = ChooseWithProbeContext(window, dc, attributes);
        DestroyWindow(window);
    }
    UnregisterClassA(ProbeClassName, instance);
    return chosen;
}
