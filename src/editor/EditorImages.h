// Every image the editor draws: its resource id, its size and how many frames
// it stacks vertically (frame height = height / frames). The editor loads them
// at open; tools/artgen draws them; tests check the embedded files against it.
#pragma once

namespace layout {

// BITMAP resources are opaque backgrounds; PNG resources carry alpha.
enum class ImageType : unsigned char { Bitmap, Png };

struct Image {
    ImageType type;
    int id;
    int width, height;
    int frames;
    constexpr int frameHeight() const { return height / frames; }
};

namespace img {
constexpr int MainBackground = 10000;
constexpr int ModPage = 10001;
constexpr int ArpPage = 10002;
constexpr int AdvancedPage = 10003;
constexpr int PresetPage = 10004;
constexpr int AboutScreen = 10005;
constexpr int KnobStrip0 = 10010;  // strips 0..11 are 10010..10021
constexpr int Button = 10022;
constexpr int EditedButton = 10023;
constexpr int Readout = 10025;
constexpr int Font = 10026;
constexpr int ToArpScreen = 10027;
constexpr int ToModScreen = 10028;
constexpr int ToPresetScreen = 10029;
constexpr int ToAdvanceScreen = 10030;
constexpr int VariationA = 10039;  // A..D are 10039..10042
constexpr int ArrowLeft = 10043;
constexpr int ArrowRight = 10044;
constexpr int AboutButton = 10046;
constexpr int MenuButtonFace = 10048;
constexpr int StepIndicator = 10049;
constexpr int OctaveDown = 10051;
constexpr int OctaveUp = 10052;
constexpr int TrackingSwitch = 10053;
constexpr int FontPlain = 10059;
constexpr int NormalFont = 10060;
constexpr int NormalFontPlain = 10061;
constexpr int LevelImage = 10064;
constexpr int HelpBackground = 10300;
constexpr int FxBackground0 = 10700;  // effect types 0..21 are 10700..10721

constexpr int kKnobStrips = 12;
constexpr int kKnobFrames = 65;
constexpr int knobStrip(int strip) { return KnobStrip0 + strip; }
// Strip 0 is 50 pixels, strips 1..6 are 37 and strips 7..11 are 30.
constexpr int knobSize(int strip) { return strip == 0 ? 50 : strip <= 6 ? 37 : 30; }
constexpr int fxBackground(int type) { return FxBackground0 + type; }
}  // namespace img

namespace detail {
using enum ImageType;
constexpr Image strip(int n) {
    int size = img::knobSize(n);
    return {Png, img::knobStrip(n), size, size * img::kKnobFrames, img::kKnobFrames};
}
constexpr Image fx(int type) { return {Bitmap, img::fxBackground(type), 226, 187, 1}; }
}  // namespace detail

// All images, in the order of the editor's bitmap table.
inline constexpr Image kImages[] = {
    {ImageType::Bitmap, img::MainBackground, 1000, 600, 1},
    {ImageType::Bitmap, img::AboutScreen, 1000, 600, 1},
    {ImageType::Bitmap, img::ModPage, 522, 248, 1},
    {ImageType::Bitmap, img::ArpPage, 522, 248, 1},
    {ImageType::Bitmap, img::PresetPage, 247, 202, 1},
    {ImageType::Bitmap, img::AdvancedPage, 247, 202, 1},
    detail::fx(0), detail::fx(1), detail::fx(2), detail::fx(3), detail::fx(4), detail::fx(5),
    detail::fx(6), detail::fx(7), detail::fx(8), detail::fx(9), detail::fx(10), detail::fx(11),
    detail::fx(12), detail::fx(13), detail::fx(14), detail::fx(15), detail::fx(16), detail::fx(17),
    detail::fx(18), detail::fx(19), detail::fx(20), detail::fx(21),
    detail::strip(0), detail::strip(1), detail::strip(2), detail::strip(3), detail::strip(4),
    detail::strip(5), detail::strip(6), detail::strip(7), detail::strip(8), detail::strip(9),
    detail::strip(10), detail::strip(11),
    {ImageType::Png, img::Button, 26, 52, 2},
    {ImageType::Png, img::EditedButton, 26, 52, 2},
    {ImageType::Png, img::Readout, 192, 19, 1},
    {ImageType::Png, img::Font, 16, 1536, 96},
    {ImageType::Png, img::FontPlain, 16, 1536, 96},
    {ImageType::Png, img::NormalFont, 16, 1536, 96},
    {ImageType::Png, img::NormalFontPlain, 16, 1536, 96},
    {ImageType::Png, img::ToArpScreen, 32, 18, 2},
    {ImageType::Png, img::ToModScreen, 32, 18, 2},
    {ImageType::Png, img::ToAdvanceScreen, 41, 18, 2},
    {ImageType::Png, img::ToPresetScreen, 41, 18, 2},
    {ImageType::Png, img::VariationA, 9, 28, 2},
    {ImageType::Png, img::VariationA + 1, 15, 28, 2},
    {ImageType::Png, img::VariationA + 2, 12, 30, 2},
    {ImageType::Png, img::VariationA + 3, 12, 34, 2},
    {ImageType::Png, img::ArrowLeft, 11, 36, 2},
    {ImageType::Png, img::ArrowRight, 11, 36, 2},
    {ImageType::Png, img::AboutButton, 212, 90, 2},
    {ImageType::Png, img::MenuButtonFace, 26, 26, 1},
    {ImageType::Png, img::StepIndicator, 403, 272, 16},
    {ImageType::Png, img::OctaveDown, 14, 24, 2},
    {ImageType::Png, img::OctaveUp, 14, 24, 2},
    {ImageType::Png, img::TrackingSwitch, 13, 12, 2},
    {ImageType::Png, img::LevelImage, 15, 39, 1},
    {ImageType::Png, img::HelpBackground, 440, 440, 1},
};

// The image with this resource id, or nullptr.
constexpr const Image* findImage(int id) {
    for (const Image& image : kImages)
        if (image.id == id) return &image;
    return nullptr;
}

}  // namespace layout
