#include "platform/LinuxDeviceInfo.hpp"

#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <mutex>
#include <sstream>

#include <quarra/KeychainWrapper.hpp>

#include "platform/LocalizedModel.hpp"
#include "platform/VendorIdentifier.hpp"

namespace quarra {
namespace {

constexpr ScreenPoints kDefaultScreen{390, 844};
constexpr std::size_t kMaxFactFileBytes = 64 * 1024;

std::optional<std::string> readSmallFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(kMaxFactFileBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

// Device-tree strings end in a zero byte, sysfs files in a newline.
std::string cleanedFact(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    text.erase(text.begin(), std::find_if(text.begin(), text.end(), notSpace));
    text.erase(std::find_if(text.rbegin(), text.rend(), notSpace).base(), text.end());
    return text;
}

// Firmware fills unset DMI fields with texts like these.
bool isPlaceholder(const std::string& value) {
    static const std::array<std::string_view, 7> placeholders = {
        "To Be Filled By O.E.M.", "System Product Name", "Default string", "Not Applicable",
        "None", "Not Specified", "O.E.M."};
    return value.empty() || std::find(placeholders.begin(), placeholders.end(), value) != placeholders.end();
}

std::optional<std::string> factAt(const std::filesystem::path& path) {
    auto text = readSmallFile(path);
    if (!text) return std::nullopt;
    auto fact = cleanedFact(std::move(*text));
    if (isPlaceholder(fact)) return std::nullopt;
    return fact;
}

// The value of NAME= in an os-release file, unquoted.
std::optional<std::string> osReleaseName(const std::string& content) {
    std::istringstream lines(content);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("NAME=", 0) != 0) continue;
        std::string value = cleanedFact(line.substr(5));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        value.erase(std::remove(value.begin(), value.end(), '\\'), value.end());
        if (!value.empty()) return value;
    }
    return std::nullopt;
}

std::string systemHostName() {
    std::array<char, 256> buffer{};
    if (gethostname(buffer.data(), buffer.size() - 1) != 0) return "";
    return std::string(buffer.data());
}

std::string systemMachine() {
    struct utsname info {};
    if (uname(&info) != 0) return "";
    return std::string(info.machine);
}

std::optional<std::string> processEnvironment(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (!value) return std::nullopt;
    return std::string(value);
}

double orDefault(double value, double fallback) { return std::isfinite(value) && value >= 0 ? value : fallback; }

class LinuxDeviceInfo final : public DeviceInfo {
public:
    explicit LinuxDeviceInfo(LinuxDeviceInfoSettings settings) : settings_(std::move(settings)) {
        if (!settings_.environmentVariable) settings_.environmentVariable = processEnvironment;
        if (!settings_.hostName) settings_.hostName = systemHostName;
        if (!settings_.unameMachine) settings_.unameMachine = systemMachine;
    }

    std::string systemName() const override {
        for (const char* file : {"etc/os-release", "usr/lib/os-release"}) {
            if (auto content = readSmallFile(settings_.root / file)) {
                if (auto name = osReleaseName(*content)) return *name;
            }
        }
        return "Linux";
    }

    std::string name() const override { return settings_.hostName(); }

    std::string machineIdentifier() const override {
        if (auto model = factAt(settings_.root / "proc/device-tree/model")) return *model;
        if (auto product = factAt(settings_.root / "sys/class/dmi/id/product_name")) return *product;
        return cleanedFact(settings_.unameMachine());
    }

    std::optional<std::string> identifierForVendor() const override {
        if (!settings_.keychain) return std::nullopt;
        std::lock_guard lock(vendorMutex_);
        if (!vendorId_) vendorId_ = loadOrCreateVendorIdentifier(*settings_.keychain, kVendorIdKey);
        return vendorId_;
    }

    std::string localizedModel() const override {
        return quarra::localizedModel(settings_.root);
    }

    ScreenPoints screenSize() const override {
        return ScreenPoints{orDefault(settings_.screenWidth, kDefaultScreen.width),
                            orDefault(settings_.screenHeight, kDefaultScreen.height)};
    }

    std::vector<std::string> preferredLanguages() const override {
        if (!settings_.preferredLanguages.empty()) return settings_.preferredLanguages;
        std::vector<std::string> languages;
        auto add = [&](std::string_view locale) {
            auto tag = languageTagFromLocale(locale);
            if (tag && std::find(languages.begin(), languages.end(), *tag) == languages.end()) {
                languages.push_back(*tag);
            }
        };
        // LANGUAGE is a colon-separated priority list; the others name one locale.
        if (auto list = settings_.environmentVariable("LANGUAGE")) {
            std::istringstream items(*list);
            std::string item;
            while (std::getline(items, item, ':')) add(item);
        }
        for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            auto value = settings_.environmentVariable(variable);
            if (value && !value->empty()) {
                add(*value);
                break;
            }
        }
        if (languages.empty()) languages.push_back("en-US");
        return languages;
    }

    int64_t timeZoneOffsetSeconds(Clock::TimePoint when) const override {
        std::time_t seconds = std::chrono::system_clock::to_time_t(when);
        std::tm local{};
        if (!localtime_r(&seconds, &local)) return 0;
        return local.tm_gmtoff;
    }

    DeviceOrientation orientation() const override {
        return settings_.orientation ? settings_.orientation() : DeviceOrientation::unknown;
    }

private:
    LinuxDeviceInfoSettings settings_;
    mutable std::mutex vendorMutex_;  // guards vendorId_
    mutable std::optional<std::string> vendorId_;
};

}  // namespace

std::optional<std::string> languageTagFromLocale(std::string_view locale) {
    // language[_territory][.codeset][@modifier]
    auto end = locale.find_first_of(".@");
    std::string_view base = locale.substr(0, end);
    if (base.empty() || base == "C" || base == "POSIX") return std::nullopt;
    std::string tag;
    for (char c : base) {
        if (c == '_') {
            tag += '-';
        } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '-') {
            tag += c;
        } else {
            return std::nullopt;
        }
    }
    return tag;
}

std::shared_ptr<DeviceInfo> makeLinuxDeviceInfo(LinuxDeviceInfoSettings settings) {
    return std::make_shared<LinuxDeviceInfo>(std::move(settings));
}

}  // namespace quarra
