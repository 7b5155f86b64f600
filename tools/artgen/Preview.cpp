#include "Preview.h"

#include <algorithm>

#include "editor/BitmapFontMetrics.h"
#include "editor/ControlLayout.h"
#include "editor/EditorImages.h"
#include "params/Enumerations.h"

namespace artgen {
namespace {
using layout::Control;
using layout::Kind;
using layout::Region;
namespace img = layout::img;

class Composer {
public:
    Composer(const std::map<int, Pixels>& images, int width, int height) : images_(images) {
        out_.width = width;
        out_.height = height;
        out_.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
        for (size_t i = 3; i < out_.rgba.size(); i += 4) out_.rgba[i] = 255;
    }
    const Pixels& pixels() const { return out_; }

    // Draws the part (sx, sy, w, h) of an image at (dx, dy), clipped to `clip`.
    void blit(int id, int sx, int sy, int w, int h, int dx, int dy, layout::Rect clip) {
        const Pixels& src = images_.at(id);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int tx = dx + x, ty = dy + y;
                if (tx < clip.left || ty < clip.top || tx >= clip.right || ty >= clip.bottom) continue;
                if (sx + x >= src.width || sy + y >= src.height || tx >= out_.width || ty >= out_.height) continue;
                const uint8_t* s = src.at(sx + x, sy + y);
                uint8_t* d = &out_.rgba[(static_cast<size_t>(ty) * out_.width + tx) * 4];
                for (int k = 0; k < 3; ++k) d[k] = static_cast<uint8_t>((s[k] * s[3] + d[k] * (255 - s[3]) + 127) / 255);
            }
    }
    void fill(layout::Rect r, uint8_t grey) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                uint8_t* d = &out_.rgba[(static_cast<size_t>(y) * out_.width + x) * 4];
                d[0] = d[1] = d[2] = grey;
            }
    }
    // Text in a bitmap font, centred in the rectangle as the controls draw it.
    void text(const std::string& s, layout::Rect r, int font = img::Font, int glyphOffset = 0) {
        namespace f = layout::font;
        int width = 0;
        for (unsigned char c : s) width += f::kAdvance[f::glyphIndex(c)];
        int x = r.left + (r.width() - width) / 2;
        int y = r.top + (r.height() - f::kGlyphHeight) / 2 + glyphOffset;
        for (unsigned char c : s) {
            int g = f::glyphIndex(c), a = f::kAdvance[g];
            if (x + a > r.right) break;
            blit(font, 0, g * f::kBand + f::kGlyphTop, a, f::kGlyphHeight, x, y, r);
            x += a;
        }
    }

private:
    const std::map<int, Pixels>& images_;
    Pixels out_;
};

// A plausible value for a control, the same on every run.
int frameFor(const Control& c) { return (c.tag * 37 + 11) % img::kKnobFrames; }

std::string sampleText(const Control& c, int fxType) {
    if (c.kind == Kind::FxTypeMenu) return c.entries[static_cast<size_t>(fxType)];
    if (!c.entries.empty()) return c.entries[static_cast<size_t>(c.tag) % c.entries.size()];
    switch (c.kind) {
        case Kind::SourceMenu: return "Mod Whl";
        case Kind::DestinationMenu: return "Filt Freq";
        case Kind::FxDestinationMenu: return "1 Feedback";
        case Kind::PresetMenu: return "Glass Pad";
        case Kind::MorphMenu: return c.index ? "Wide Brass" : "Glass Pad";
        default: break;
    }
    switch (c.role) {
        case layout::Role::StatusDisplay: return "Filter Frequency: 1200 Hz";
        case layout::Role::SampleName: return "None";
        default: return c.text ? c.text : "";
    }
}

void drawControl(Composer& out, const Control& c, layout::Rect clip, int fxType) {
    layout::Rect region = layout::regionRect(c.region);
    layout::Rect r = c.rect().offset(region.left, region.top);
    auto frame = [&](int image, int index) {
        const layout::Image* i = layout::findImage(image);
        out.blit(image, 0, index * i->frameHeight(), c.width, c.height, r.left, r.top, clip);
    };
    switch (c.kind) {
        case Kind::Knob: {
            int image = c.image;
            if (c.region == Region::Fx && c.tag >= 179 && c.tag <= 200) {
                int k = (c.tag - 179) / 3;
                const layout::FxPanel& panel = layout::fxPanels()[fxType];
                if (k >= panel.knobCount) return;
                image = img::knobStrip(panel.knobStrip(k));
            }
            return frame(image, frameFor(c));
        }
        case Kind::Switch: case Kind::PushButton: return c.image ? frame(c.image, c.tag % 3 == 0) : void();
        case Kind::RadioButton: return frame(c.image, c.index == 0);
        case Kind::ButtonMenu: return frame(c.image, 0);
        case Kind::TextButton: return out.text(sampleText(c, fxType), r);
        case Kind::LevelSlider: {
            out.fill(r, 14);
            int f = 18;
            return out.blit(img::LevelImage, 0, f, c.width, c.height - f, r.left, r.top + f, r);
        }
        case Kind::GateDisplay:
            for (int i = 0; i < 16; ++i)
                out.fill({r.left + 1 + 10 * i, r.top + 1, r.left + 8 + 10 * i, r.top + 12}, (i * 5 + c.tag) % 3 ? 40 : 200);
            return;
        case Kind::ArpDisplay: {
            out.blit(img::StepIndicator, 0, 17 * 5, 403, 17, r.left, r.top, clip);
            const char* rows[6] = {"X", "-", "X", "12", "100", "50"};
            for (int s = 0; s < 16; ++s)
                for (int row = 0; row < 6; ++row) {
                    bool on = s % 4 != 3;
                    if (row > 0 && !on) continue;
                    layout::Rect cell{r.left + 25 * s, r.top + 17 + 20 * row, r.left + 25 * s + 25, r.top + 37 + 20 * row};
                    out.text(row == 0 && !on ? "-" : rows[row], cell, on ? img::Font : img::FontPlain);
                }
            return;
        }
        case Kind::TextLabel: return out.text("release version 1.1.0", r);
        default:
            // Menus and text-array buttons: the readout field with the entry.
            out.blit(img::Readout, 0, 0, c.width, c.height, r.left, r.top, clip);
            return out.text(sampleText(c, fxType), r, img::Font, c.height < 14 ? -2 : 0);
    }
}

void drawRegion(Composer& out, Region region, int fxType = layout::kAnyFxType) {
    layout::Rect r = layout::regionRect(region);
    int background = region == Region::Fx ? img::fxBackground(fxType) : layout::regionBackground(region);
    if (region != Region::Main) out.blit(background, 0, 0, r.width(), r.height(), r.left, r.top, r);
    for (const layout::Table& t : layout::tables())
        for (const Control& c : t.controls)
            if (c.region == region && (c.fxType == layout::kAnyFxType || c.fxType == fxType))
                drawControl(out, c, region == Region::Main ? layout::Rect{0, 0, 1000, 600} : r, fxType);
}

Pixels window(const std::map<int, Pixels>& images, Region lower, Region right, int fxType) {
    Composer out(images, 1000, 600);
    out.blit(img::MainBackground, 0, 0, 1000, 600, 0, 0, {0, 0, 1000, 600});
    drawRegion(out, lower);
    drawRegion(out, right);
    drawRegion(out, Region::Fx, fxType);
    drawRegion(out, Region::Main);
    return out.pixels();
}

// All 22 FX sections side by side.
Pixels fxSheet(const std::map<int, Pixels>& images) {
    Composer out(images, 6 * 230, 4 * 191);
    for (int t = 0; t < layout::kFxTypes; ++t) {
        int ox = (t % 6) * 230, oy = (t / 6) * 191;
        layout::Rect clip{ox, oy, ox + 226, oy + 187};
        out.blit(img::fxBackground(t), 0, 0, 226, 187, ox, oy, clip);
        layout::Rect fx = layout::regionRect(Region::Fx);
        for (const layout::Table& table : layout::tables())
            for (Control c : table.controls)
                if (c.region == Region::Fx && (c.fxType == layout::kAnyFxType || c.fxType == t)) {
                    // Shift the control so that the FX region lands on this tile.
                    c.x += ox - fx.left;
                    c.y += oy - fx.top;
                    drawControl(out, c, clip, t);
                }
    }
    return out.pixels();
}
}  // namespace

bool writePreviews(const std::map<int, Pixels>& images, const std::string& dir) {
    struct View {
        const char* file;
        Pixels pixels;
    };
    View views[] = {
        {"preview-mod-preset.png", window(images, Region::Mod, Region::Preset, 2)},
        {"preview-arp-advanced.png", window(images, Region::Arp, Region::Advanced, 17)},
        {"preview-fx-sections.png", fxSheet(images)},
    };
    Composer about(images, 1000, 600);
    about.blit(img::AboutScreen, 0, 0, 1000, 600, 0, 0, {0, 0, 1000, 600});
    for (const layout::Table& t : layout::tables())
        for (const Control& c : t.controls)
            if (c.region == Region::About) drawControl(about, c, {0, 0, 1000, 600}, 0);
    bool ok = true;
    for (View& v : views) ok = writeFile(dir + "/" + v.file, encodePng(v.pixels)) && ok;
    ok = writeFile(dir + "/preview-about.png", encodePng(about.pixels())) && ok;
    return ok;
}

}  // namespace artgen
