#include "scene/SmoothFrame.h"

#include "common/Util.h"
#include "support/Win.h"

#include <GL/gl.h>
#include <GL/glext.h>

namespace {

struct FramebufferProcs {
    PFNGLGENFRAMEBUFFERSEXTPROC genFramebuffers;
    PFNGLDELETEFRAMEBUFFERSEXTPROC deleteFramebuffers;
    PFNGLBINDFRAMEBUFFEREXTPROC bindFramebuffer;
    PFNGLGENRENDERBUFFERSEXTPROC genRenderbuffers;
    PFNGLDELETERENDERBUFFERSEXTPROC deleteRenderbuffers;
    PFNGLBINDRENDERBUFFEREXTPROC bindRenderbuffer;
    PFNGLRENDERBUFFERSTORAGEMULTISAMPLEEXTPROC renderbufferStorageMultisample;
    PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC framebufferRenderbuffer;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC checkFramebufferStatus;
    PFNGLBLITFRAMEBUFFEREXTPROC blitFramebuffer;
};
FramebufferProcs Gl{};
bool Open = false;
GLuint Framebuffer = 0;
GLuint Renderbuffers[2] = {};  // colour, depth
int FrameWidth = 0, FrameHeight = 0;
// The first resolve into the window since the objects were made went through.
bool ResolveSeen = false;

template <typename Proc> bool Load(Proc& proc, const char* name)
{
    proc = reinterpret_cast<Proc>(reinterpret_cast<void*>(wglGetProcAddress(name)));
    return proc != nullptr;
}

void DeleteObjects()
{
    if (Framebuffer != 0) Gl.deleteFramebuffers(1, &Framebuffer);
    if (Renderbuffers[0] != 0) Gl.deleteRenderbuffers(2, Renderbuffers);
    Framebuffer = Renderbuffers[0] = Renderbuffers[1] = 0;
    FrameWidth = FrameHeight = 0;
}

bool MakeObjects(int width, int height)
{
    DeleteObjects();
    Gl.genFramebuffers(1, &Framebuffer);
    Gl.genRenderbuffers(2, Renderbuffers);
    Gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, Framebuffer);
    const GLenum formats[2] = {GL_RGBA8, GL_DEPTH_COMPONENT16};
    const GLenum attachments[2] = {GL_COLOR_ATTACHMENT0_EXT, GL_DEPTH_ATTACHMENT_EXT};
    for (int i = 0; i < 2; ++i) {
        Gl.bindRenderbuffer(GL_RENDERBUFFER_EXT, Renderbuffers[i]);
        Gl.renderbufferStorageMultisample(GL_RENDERBUFFER_EXT, SmoothEdgeSamples, formats[i], width, height);
        Gl.framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, attachments[i], GL_RENDERBUFFER_EXT, Renderbuffers[i]);
    }
    Gl.bindRenderbuffer(GL_RENDERBUFFER_EXT, 0);
    const bool complete = Gl.checkFramebufferStatus(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
    Gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
    if (!complete) {
        DeleteObjects();
        return false;
    }
    FrameWidth = width;
    FrameHeight = height;
    ResolveSeen = false;
    return true;
}

} // namespace

bool HasGlExtension(const char* name)
{
    return ListsName(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), name);
}

bool HasFramebufferSamples()
{
    return HasGlExtension("GL_EXT_framebuffer_object") && HasGlExtension("GL_EXT_framebuffer_multisample") &&
           HasGlExtension("GL_EXT_framebuffer_blit");
}

bool OpenSmoothFrame()
{
    CloseSmoothFrame();
    Open = HasFramebufferSamples() && Load(Gl.genFramebuffers, "glGenFramebuffersEXT") &&
           Load(Gl.deleteFramebuffers, "glDeleteFramebuffersEXT") && Load(Gl.bindFramebuffer, "glBindFramebufferEXT") &&
           Load(Gl.genRenderbuffers, "glGenRenderbuffersEXT") &&
           Load(Gl.deleteRenderbuffers, "glDeleteRenderbuffersEXT") &&
           Load(Gl.bindRenderbuffer, "glBindRenderbufferEXT") &&
           Load(Gl.renderbufferStorageMultisample, "glRenderbufferStorageMultisampleEXT") &&
           Load(Gl.framebufferRenderbuffer, "glFramebufferRenderbufferEXT") &&
           Load(Gl.checkFramebufferStatus, "glCheckFramebufferStatusEXT") &&
           Load(Gl.blitFramebuffer, "glBlitFramebufferEXT");
    return Open;
}

void CloseSmoothFrame()
{
    if (Open) DeleteObjects();
    Open = false;
}

bool SmoothFrameOpen() { return Open; }

bool BeginSmoothFrame(int width, int height)
{
    if (!Open || width <= 0 || height <= 0) return false;
    if ((width != FrameWidth || height != FrameHeight) && !MakeObjects(width, height)) {
        // A driver that cannot make it at this size draws plainly from now on.
        CloseSmoothFrame();
        return false;
    }
    Gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, Framebuffer);
    return true;
}

void EndSmoothFrame()
{
    if (!Open) return;
    // NOTE: a driver may refuse to resolve into a window whose format differs
    // from the object's (a 16-bit desktop); the window would then stay black,
    // so the first resolve is checked and a refusal means plain frames from now on.
    for (int pending = 0; !ResolveSeen && pending < 32 && glGetError() != GL_NO_ERROR; ++pending) {}
    Gl.bindFramebuffer(GL_READ_FRAMEBUFFER_EXT, Framebuffer);
    Gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER_EXT, 0);
    Gl.blitFramebuffer(0, 0, FrameWidth, FrameHeight, 0, 0, FrameWidth, FrameHeight, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    Gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
    if (!ResolveSeen) {
        ResolveSeen = glGetError() == GL_NO_ERROR;
        if (!ResolveSeen) CloseSmoothFrame();
    }
}
