#include "support/fake_platform.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

namespace {

FakePlatform fake;

struct OffscreenGl {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    EGLSurface surface = EGL_NO_SURFACE;
};
OffscreenGl gl;

bool makeOffscreenContext() {
    if (gl.context != EGL_NO_CONTEXT) {
        return eglMakeCurrent(gl.display, gl.surface, gl.surface, gl.context) == EGL_TRUE;
    }
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) {
        return false;
    }
    gl.display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major = 0;
    EGLint minor = 0;
    if (gl.display == EGL_NO_DISPLAY || eglInitialize(gl.display, &major, &minor) != EGL_TRUE) {
        return false;
    }
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
                                       EGL_PBUFFER_BIT,
                                       EGL_RENDERABLE_TYPE,
                                       EGL_OPENGL_BIT,
                                       EGL_RED_SIZE,
                                       8,
                                       EGL_GREEN_SIZE,
                                       8,
                                       EGL_BLUE_SIZE,
                                       8,
                                       EGL_ALPHA_SIZE,
                                       8,
                                       EGL_DEPTH_SIZE,
                                       16,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (eglChooseConfig(gl.display, configAttributes, &config, 1, &count) != EGL_TRUE ||
        count < 1) {
        return false;
    }
    eglBindAPI(EGL_OPENGL_API);
    gl.context = eglCreateContext(gl.display, config, EGL_NO_CONTEXT, nullptr);
    const EGLint surfaceAttributes[] = {EGL_WIDTH, fake.surfaceWidth, EGL_HEIGHT,
                                        fake.surfaceHeight, EGL_NONE};
    gl.surface = eglCreatePbufferSurface(gl.display, config, surfaceAttributes);
    if (gl.context == EGL_NO_CONTEXT || gl.surface == EGL_NO_SURFACE) {
        return false;
    }
    return eglMakeCurrent(gl.display, gl.surface, gl.surface, gl.context) == EGL_TRUE;
}

WindowResult openWindow(int width, int height, bool fullScreen) {
    if (fake.windowResult != WindowResult::ok) {
        return fake.windowResult;
    }
    fake.windowWidth = width;
    fake.windowHeight = height;
    fake.windowFullScreen = fullScreen;
    fake.windowOpen = true;
    return makeOffscreenContext() ? WindowResult::ok : WindowResult::contextFailed;
}

void closeWindow(bool restoreDisplayMode) {
    fake.windowOpen = false;
    fake.displayRestored = restoreDisplayMode;
}

bool peekMessage(WindowMessage& message) {
    if (fake.queue.empty()) {
        return false;
    }
    message = fake.queue.front();
    fake.queue.pop_front();
    return true;
}

void postQuit(std::uint32_t code) {
    fake.queue.push_back(WindowMessage{MessageKind::quit, code});
}

void messageBox(const char* text, const char* caption, BoxIcon icon) {
    fake.boxes.push_back(RecordedBox{text, caption, icon});
    if (fake.onBox) {
        fake.onBox(fake, fake.boxes.back());
    }
}

std::uint32_t clock() {
    return fake.now;
}

void sleep(std::uint32_t milliseconds) {
    fake.now += milliseconds;
    fake.sleeps += 1;
    fake.sleptTotal += milliseconds;
    fake.lastSleep = milliseconds;
}

void swap() {
    fake.swaps += 1;
    fake.now += fake.frameWork;
    fake.lastSleep = 0;
    if (fake.onSwap) {
        fake.onSwap(fake);
    }
    if (fake.swaps >= fake.swapLimit) {
        throw ProcessExit{99};
    }
}

void exitNow(int status) {
    throw ProcessExit{status};
}

void recordDrawCall(const DrawRecord& record) {
    if (fake.drawLogOn) {
        fake.drawLog.push_back(record);
    }
}

const PlatformBackend fakeBackend{openWindow, closeWindow, peekMessage, postQuit, messageBox,
                                  clock,      sleep,       swap,        exitNow,  recordDrawCall};

} // namespace

FakePlatform& installFakePlatform() {
    fake = FakePlatform{};
    installPlatform(fakeBackend);
    return fake;
}

FakePlatform& fakePlatform() {
    return fake;
}

void ensureGlContext() {
    makeOffscreenContext();
}

void pressKey(FakePlatform& platform, int virtualKey) {
    platform.queue.push_back(
        WindowMessage{MessageKind::keyDown, static_cast<std::uint32_t>(virtualKey)});
}

void releaseKey(FakePlatform& platform, int virtualKey) {
    platform.queue.push_back(
        WindowMessage{MessageKind::keyUp, static_cast<std::uint32_t>(virtualKey)});
}

void closeWindow(FakePlatform& platform) {
    platform.queue.push_back(WindowMessage{MessageKind::close, 0});
}
