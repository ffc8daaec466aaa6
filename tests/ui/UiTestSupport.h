#pragma once
// Helpers for the window tests.
#include <QDir>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <string>

namespace plu::test {

// Saves what the widget shows as NAME.png in $PLUM_SCREENSHOT_DIR (when set),
// so a person can look at the windows the tests drive.
inline void SaveScreenshot(QWidget& widget, const QString& name)
{
    const QString dir = qEnvironmentVariable("PLUM_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    widget.grab().save(dir + "/" + name + ".png");
}

// A fresh program directory under the system's temporary directory.
inline std::filesystem::path FreshHome(const std::string& name)
{
    auto dir = std::filesystem::temp_directory_path() / ("plum-ui-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace plu::test
