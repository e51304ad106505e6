// The user's regional date and time formats, saved when the main window is
// created, forced to the program's own formats while it runs and written back
// when it closes.
//
// On this platform the per-user "Control Panel\International" key is a small
// text file in the user's configuration folder (one "name=value" per line).
// The program's own conversions never read it: they always use the forced
// formats. The store is kept so that the save, force and restore steps behave
// as users of the Windows program know them.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace app {

inline constexpr const char* ForcedShortDate = "yy/MM/dd";
inline constexpr const char* ForcedLongTime = "HH:mm:ss";
inline constexpr const char* ForcedShortTime = "HH:mm";

// A per-user key of string values.
class RegionalStore {
public:
    virtual ~RegionalStore() = default;
    // Opens the key, creating it when `create` is set; false when it cannot be opened.
    virtual bool open(bool create) = 0;
    virtual void close() = 0;
    // A value of the open key; nullopt when the value is missing.
    virtual std::optional<std::string> read(const std::string& name) = 0;
    virtual bool write(const std::string& name, const std::string& value) = 0;
    virtual bool remove(const std::string& name) = 0;
};

// The key as a file: "<config>/Tallyra/International.conf" by default.
class FileRegionalStore : public RegionalStore {
public:
    explicit FileRegionalStore(std::string path = defaultPath());
    static std::string defaultPath();
    const std::string& path() const { return path_; }

    bool open(bool create) override;
    void close() override;
    std::optional<std::string> read(const std::string& name) override;
    bool write(const std::string& name, const std::string& value) override;
    bool remove(const std::string& name) override;

private:
    bool save();
    std::string path_;
    bool open_ = false;
    std::map<std::string, std::string> values_;
};

// The three values as read at creation; nullopt where the value was missing
// (or the key could not be opened).
struct SavedFormats {
    std::optional<std::string> shortDate;  // sShortDate
    std::optional<std::string> longTime;   // sTimeFormat
    std::optional<std::string> shortTime;  // sShortTime
    bool operator==(const SavedFormats&) const = default;
};

// Creation step: reads the three values, then writes each forced value whose
// saved text differs from it (nothing is written when they already agree).
// A key that cannot be opened is skipped silently.
SavedFormats saveAndForceFormats(RegionalStore& store);

// Close step: writes back each saved value that differed from its forced
// value. A value that was missing before is removed again rather than left
// behind as an empty text, which would leave the user without a date format.
void restoreFormats(RegionalStore& store, const SavedFormats& saved);

}  // namespace app
