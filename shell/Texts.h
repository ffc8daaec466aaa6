#pragma once
// The replaceable user-visible texts with their built-in English defaults.
// The language file may replace them once at start-up; everything that shows
// one of them reads it here each time.
#include <array>
#include <string>

namespace plu {

struct Texts {
    // Section "String"
    std::string Connect = "Connect";
    std::string Disconnect = "Disconnect";
    std::string Download = "Download ";
    std::string Upload = "Upload ";
    std::string ReportNotClear = "ECR report don't clear!";
    std::string ChangesPrinting = "Please print changes report!";

    // Sections "DownloadItem Tips" and "UploadItem Tips": the names of the data kinds.
    std::array<std::string, 3> DownloadKindNames{"PLU", "department", "recycling"};
    std::array<std::string, 3> UploadKindNames{"PLU", "department", "recycling"};

    // Sections "PLU Titles", "PLU Tips", "Deptment Titles", "Deptment Tips" and
    // "Recy Titles": the column titles of the item grids (the tips are kept, not shown).
    std::array<std::string, 9> PluTitles{"NO.", "Name", "Department", "Unit price", "Barcode",
                                         "Flag", "Stocks", "Quantity", "Total"};
    std::array<std::string, 8> PluTips{"Name", "Department", "Unit price", "Barcode",
                                       "Flag", "Stocks", "Quantity", "Total"};
    std::array<std::string, 8> DeptTitles{"NO.", "Name", "Limitation", "Tax", "Flag", "Unit price", "Quantity", "Total"};
    std::array<std::string, 7> DeptTips{"Name", "Limitation", "Tax", "Flag", "Unit price", "Quantity", "Total"};
    std::array<std::string, 7> RecyTitles{"PLU #", "Package price", "Barcode", "Sold quantity",
                                          "Sold total", "Returned quantity", "Returned total"};
};

// Suffixes of a step's status text while it runs and after it failed.
inline constexpr const char* kRunningSuffix = "...";
inline constexpr const char* kErrorSuffix = "...Error!";

inline std::string Running(const std::string& step) { return step + kRunningSuffix; }
inline std::string Failed(const std::string& step) { return step + kErrorSuffix; }

} // namespace plu

namespace plu {

// Fixed texts of the link dialogs and the raw memory upload (not in the language file).
inline constexpr const char* kTestingText = "Testing...";
inline constexpr const char* kKodoFoundText = "Kodo found!";
inline constexpr const char* kNoKodoFoundText = "No kodo found.";
inline constexpr const char* kApplyFoundPortText = "Port found! Do you want to apply it?";
inline constexpr const char* kReceiveDataStep = "Receive Data";
inline constexpr const char* kUploadDataRangeCaption = "Upload data range";

} // namespace plu
