#include "Artwork.h"

#include "editor/EditorImages.h"

namespace artgen {

std::vector<ImagePlan> artwork() {
    namespace img = layout::img;
    std::vector<ImagePlan> list = {
        {img::MainBackground, "main", mainBackground},
        {img::AboutScreen, "about-screen", aboutScreen},
        {img::ModPage, "mod-page", modPage},
        {img::ArpPage, "arp-page", arpPage},
        {img::PresetPage, "preset-page", presetPage},
        {img::AdvancedPage, "advanced-page", advancedPage},
    };
    for (int t = 0; t < layout::kFxTypes; ++t)
        list.push_back({img::fxBackground(t), "fx-" + std::to_string(t), [t] { return fxBackground(t); }});
    for (int n = 0; n < img::kKnobStrips; ++n)
        list.push_back({img::knobStrip(n), "knob-strip-" + std::to_string(n), [n] { return knobStrip(n); }});
    std::vector<ImagePlan> rest = {
        {img::Button, "button", [] { return button(false); }},
        {img::EditedButton, "button-edited", [] { return button(true); }},
        {img::Readout, "readout", readout},
        {img::Font, "font", [] { return bitmapFont(false, false); }},
        {img::FontPlain, "font-plain", [] { return bitmapFont(false, true); }},
        {img::NormalFont, "font-normal", [] { return bitmapFont(true, false); }},
        {img::NormalFontPlain, "font-normal-plain", [] { return bitmapFont(true, true); }},
        {img::ToArpScreen, "to-arp", [] { return pageButton(img::ToArpScreen); }},
        {img::ToModScreen, "to-mod", [] { return pageButton(img::ToModScreen); }},
        {img::ToAdvanceScreen, "to-advanced", [] { return pageButton(img::ToAdvanceScreen); }},
        {img::ToPresetScreen, "to-preset", [] { return pageButton(img::ToPresetScreen); }},
        {img::VariationA, "variation-a", [] { return variationButton(0); }},
        {img::VariationA + 1, "variation-b", [] { return variationButton(1); }},
        {img::VariationA + 2, "variation-c", [] { return variationButton(2); }},
        {img::VariationA + 3, "variation-d", [] { return variationButton(3); }},
        {img::ArrowLeft, "arrow-left", [] { return arrowButton(false); }},
        {img::ArrowRight, "arrow-right", [] { return arrowButton(true); }},
        {img::AboutButton, "about-button", aboutButton},
        {img::MenuButtonFace, "menu-face", menuFace},
        {img::StepIndicator, "step-indicator", stepIndicator},
        {img::OctaveDown, "octave-down", [] { return octaveButton(false); }},
        {img::OctaveUp, "octave-up", [] { return octaveButton(true); }},
        {img::TrackingSwitch, "tracking", trackingSwitch},
        {img::LevelImage, "level", levelImage},
        {img::HelpBackground, "help", helpBackground},
    };
    list.insert(list.end(), rest.begin(), rest.end());
    for (ImagePlan& plan : list) plan.file = std::to_string(plan.id) + "-" + plan.file + ".png";
    return list;
}

}  // namespace artgen
