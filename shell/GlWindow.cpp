#include "shell/GlWindow.h"

#include "common/Settings.h"
#include "resources/ResourceIds.h"
#include "shell/Multisample.h"
#include "shell/ShowError.h"

bool IsSceneFormat(HDC dc, int format)
{
    PIXELFORMATDESCRIPTOR set = {};
    if (DescribePixelFormat(dc, format, sizeof set, &set) == 0) return false;
    const DWORD needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    return (set.dwFlags & needed) == needed && set.iPixelType == PFD_TYPE_RGBA && set.cDepthBits > 0;
}

TGlWindow::TGlWindow(const char* className, const char* title, DWORD exStyle, DWORD style, const RECT& frame, int bits)
    : failure_(Open(className, title, exStyle, style, frame, bits))
{
}

unsigned TGlWindow::Open(const char* className, const char* title, DWORD exStyle, DWORD style, const RECT& frame,
                         int bits)
{
    window_ = CreateWindowExA(exStyle, className, title, style, frame.left, frame.top, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window_ == nullptr) return IDS_CANT_CREATE_WINDOW;

    dc_ = GetDC(window_);
    if (dc_ == nullptr) return IDS_NO_DEVICE_CONTEXT;

    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = static_cast<BYTE>(bits);
    pfd.cDepthBits = 16;
    pfd.iLayerType = PFD_MAIN_PLANE;
    // Smooth edges where the driver offers samples for the scene's format and
    // no framebuffer objects with samples; otherwise, or with them off, the plain format.
    int format = Settings.SmoothEdges ? ChooseMultisampleFormat(dc_, bits) : 0;
    if (format != 0 && !IsSceneFormat(dc_, format)) format = 0;
    if (format == 0) format = ChoosePixelFormat(dc_, &pfd);
    if (format == 0) return IDS_NO_PIXEL_FORMAT;
    if (!SetPixelFormat(dc_, format, &pfd)) return IDS_SET_PIXEL_FORMAT;
    // ChoosePixelFormat returns the closest format, not one that has what was asked.
    if (!IsSceneFormat(dc_, format)) return IDS_INIT_GL;

    context_ = wglCreateContext(dc_);
    if (context_ == nullptr) return IDS_CREATE_CONTEXT;
    if (!wglMakeCurrent(dc_, context_)) return IDS_MAKE_CURRENT;
    return 0;
}

TGlWindow::~TGlWindow()
{
    if (context_) {
        if (!wglMakeCurrent(nullptr, nullptr)) ShowError("", IDS_RELEASE_DC_AND_RC, IDS_SHUTDOWN_ERROR);
        if (!wglDeleteContext(context_)) ShowError("", IDS_RELEASE_RC, IDS_SHUTDOWN_ERROR);
    }
    if (dc_ && !ReleaseDC(window_, dc_)) ShowError("", IDS_RELEASE_DC, IDS_SHUTDOWN_ERROR);
    if (window_ && !DestroyWindow(window_)) ShowError("", IDS_RELEASE_WINDOW, IDS_SHUTDOWN_ERROR);
}
