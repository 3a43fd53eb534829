#pragma once
// The upload window, opened modally by "&Upload My Page" and "Upload Your Stuff". Its four
// connection fields belong to the project and are saved with it.

#include <string>

class QWidget;

namespace stv {

struct FtpSettings { // Windows-1252 text, as the project file holds it
    std::string host;
    std::string userId;
    std::string password;
    std::string initDir;
    bool operator==(const FtpSettings &) const = default;
};

// Shows the window modally with these values; gives them back as the user left them.
FtpSettings ShowUploadWindow(QWidget *parent, const FtpSettings &settings);

} // namespace stv
