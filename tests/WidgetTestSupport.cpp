#include "WidgetTestSupport.h"

#include <filesystem>

#include "editor/BitmapFont.h"

using namespace VSTGUI;

namespace widget_testing {

std::vector<unsigned char> encodePng(cairo_surface_t* surface) {
    std::vector<unsigned char> bytes;
    cairo_surface_write_to_png_stream(
        surface,
        [](void* closure, const unsigned char* data, unsigned int length) {
            auto* out = static_cast<std::vector<unsigned char>*>(closure);
            out->insert(out->end(), data, data + length);
            return CAIRO_STATUS_SUCCESS;
        },
        &bytes);
    return bytes;
}

static uint32_t argb(CColor c) {
    return (uint32_t(c.alpha) << 24) | (uint32_t(c.red) << 16) | (uint32_t(c.green) << 8) | c.blue;
}

CColor frameColour(int i) { return CColor{uint8_t(i * 3), uint8_t(255 - i * 2), uint8_t(40 + i), 255}; }

CBitmap* numberedStrip(int side, int frames) {
    auto bytes = pngBytes(side, side * frames, [side](int, int y) { return argb(frameColour(y / side)); });
    return new CBitmap(bytes.data(), bytes.size(), true, "test strip");
}

CBitmap* twoStateImage(int w, int h) {
    auto bytes = pngBytes(w, h, [h](int, int y) { return y < h / 2 ? 0xffff0000u : 0xff00ff00u; });
    return new CBitmap(bytes.data(), bytes.size(), true, "test button");
}

CColor glyphColour(unsigned char c) { return CColor{uint8_t(c * 2), 200, uint8_t(255 - c), 255}; }

CBitmap* codedFont() {
    auto bytes = pngBytes(16, 1536, [](int x, int y) {
        // The glyph's last column stays clear, so that equal neighbours can be told apart.
        unsigned char c = static_cast<unsigned char>(32 + y / 16);
        return c == 32 || x >= BitmapFont::advance(c) - 1 ? 0u : argb(glyphColour(c));
    });
    return new CBitmap(bytes.data(), bytes.size(), true, "test font");
}

CBitmap* solidImage(int w, int h, CColor c) {
    auto bytes = pngBytes(w, h, [c](int, int) { return argb(c); });
    return new CBitmap(bytes.data(), bytes.size(), true, "solid");
}

static void send(CFrame& frame, NativeEvent::Type type, int x, int y, long buttons) {
    NativeEvent e;
    e.type = type;
    e.where = CPoint(x, y);
    e.buttons = buttons;
    frame.handleEvent(e);
}

void press(CFrame& frame, int x, int y, long buttons) { send(frame, NativeEvent::kMouseDown, x, y, buttons); }
void move(CFrame& frame, int x, int y, long buttons) { send(frame, NativeEvent::kMouseMove, x, y, buttons); }
void release(CFrame& frame, int x, int y, long buttons) { send(frame, NativeEvent::kMouseUp, x, y, buttons); }

void click(CFrame& frame, int x, int y, long buttons) {
    press(frame, x, y, buttons);
    release(frame, x, y, buttons & ~(kLButton | kMButton | kRButton));
}

void key(CFrame& frame, unsigned char virt, int character, unsigned char modifier) {
    NativeEvent e;
    e.type = NativeEvent::kKeyDown;
    e.key = VstKeyCode{character, virt, modifier};
    frame.handleEvent(e);
    e.type = NativeEvent::kKeyUp;
    frame.handleEvent(e);
}

void typeText(CFrame& frame, const std::string& text) {
    for (char c : text) key(frame, c == ' ' ? VKEY_SPACE : 0, c);
}

CColor pixelAt(CFrame& frame, int x, int y) {
    frame.redrawAll();
    return frame.getBackBuffer()->getPixel(x, y);
}

std::string renderPath(const std::string& name) {
    std::filesystem::path dir = std::filesystem::current_path() / "renders";
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

}  // namespace widget_testing
