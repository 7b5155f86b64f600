// The factory bank compiled into the library (resource "BANK" 10200).
#include <cstring>
#include <memory>

#include "host/APlugin.h"
#include "params/BankFormat.h"
#include "platform/Resources.h"

void APlugin::loadFactoryBank() {
    // The image is built with the library, so it is always whole; checking it
    // anyway means a broken build plays the default sound instead of garbage.
    const platform::Resource bank = platform::findResource("BANK", 10200);
    auto image = std::make_unique<bankfile::BankImage>();
    if (!bank || !bankfile::parseBank(bank.data, bank.size, *image).empty() ||
        image->count != kNumPrograms)
        return;
    for (int p = 0; p < kNumPrograms; ++p) {
        ProgramRecord& record = programs[p];
        for (int i = 0; i < kNumParams; ++i) record.recordValues[i] = image->programs[p].values[i];
        std::strcpy(record.recordName, image->programs[p].name);
        setProgram(p);
    }
}
