// Any bytes as the installation identifier file (the stand-in device fact
// on a machine without identifying facts), and as the vendor identifier kept
// in the secure store. A well-formed stored identifier is kept as it is; any
// other content gives way to a fresh, well-formed one, which is then kept.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <quarra/KeychainWrapper.hpp>
#include <quarra/testing/MemorySecureItemStore.hpp>

#include "FuzzSupport.hpp"
#include "fingerprint/DeviceFacts.hpp"
#include "platform/SysfsText.hpp"
#include "platform/VendorIdentifier.hpp"

namespace {

bool isInstallationId(const std::string& text) {
    return text.size() == 32 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

// The file as the reader sees it: its first page, without trailing blanks.
std::string asRead(std::string text) {
    text.resize(std::min<size_t>(text.size(), 4096));
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                             text.back() == '\0')) {
        text.pop_back();
    }
    return text;
}

void checkInstallationFile(const std::string& contents) {
    namespace fs = std::filesystem;
    using namespace quarra;
    // An empty root: no machine id, no DMI, no interfaces, so the
    // installation identifier is the one fact.
    static const fs::path root = [] {
        auto path = fuzzing::scratchDirectory() / "root";
        fs::create_directories(path);
        return path;
    }();
    const fs::path dataDirectory = fuzzing::scratchDirectory() / "data";
    fs::create_directories(dataDirectory);
    const fs::path file = dataDirectory / "device-identity";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    }

    const auto facts = collectDeviceFacts(root, dataDirectory);
    if (facts.size() != 1 || facts[0].first != "installation" || !isInstallationId(facts[0].second)) __builtin_trap();
    const std::string stored = asRead(contents);
    if (isInstallationId(stored) ? facts[0].second != stored : readTrimmedFile(file) != facts[0].second) {
        __builtin_trap();
    }
}

void checkVendorIdentifier(const std::string& contents) {
    using namespace quarra;
    KeychainWrapper keychain("fuzz", std::nullopt, std::make_shared<MemorySecureItemStore>());
    if (!keychain.set(KeychainWrapper::Bytes(contents.begin(), contents.end()), "vendorId")) __builtin_trap();
    const auto before = keychain.string("vendorId");
    auto id = loadOrCreateVendorIdentifier(keychain, "vendorId");
    if (!id || !isUUIDText(*id)) __builtin_trap();
    for (char c : *id) {
        if (std::islower(static_cast<unsigned char>(c))) __builtin_trap();
    }
    if (before && isUUIDText(*before)) {
        std::string upper = *before;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (*id != upper) __builtin_trap();
    } else if (keychain.string("vendorId") != id) {
        __builtin_trap();  // a fresh identifier replaces what was there
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string contents(reinterpret_cast<const char*>(data), size);
    checkInstallationFile(contents);
    checkVendorIdentifier(contents);
    return 0;
}
