#pragma once
// Pictures for the tests of pictures made ready for the web, made by ImageMagick and exiftool
// as a camera or an editor would leave them, and what the command-line tools say of a file.
// Free of any test framework: the GoogleTest and the QtTest cases check what these return.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace stv::test
{

// A command's standard output; its standard error goes to the test's log.
inline std::string commandOutput(const std::string &command)
{
    std::string out;
    std::FILE *pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return out;
    std::array<char, 4096> buffer {};
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        out.append(buffer.data(), n);
    ::pclose(pipe);
    return out;
}

// Whether the command ran and succeeded; a failure names the command on stderr.
[[nodiscard]] inline bool runCommand(const std::string &command)
{
    if (std::system(command.c_str()) == 0)
        return true;
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    return false;
}

inline std::string quoted(const std::string &path)
{
    return "'" + path + "'";
}

// A phone photo stored on its side: `width` by `height` pixels as stored, the left half red
// and the right half blue under some noise, with EXIF orientation 6 (turn a quarter clockwise
// to show it), the camera's name, GPS position and an XMP author.
[[nodiscard]] inline bool makeCameraJpeg(const std::string &path, int width, int height)
{
    const std::string half = std::to_string(width / 2) + "x" + std::to_string(height);
    return runCommand("convert -size " + half + " xc:red -size " + half
               + " xc:blue +append -attenuate 0.4 +noise Gaussian -quality 92 " + quoted(path))
        && runCommand("exiftool -q -overwrite_original -Orientation#=6 -Make=Sitorvacam -Model=T1 "
                      "-GPSLatitude=48.8584 -GPSLatitudeRef=N -GPSLongitude=2.2945 "
                      "-GPSLongitudeRef=E -XMP-dc:Creator=Someone "
            + quoted(path));
}

// A small PNG without any metadata chunk.
[[nodiscard]] inline bool makePlainPng(const std::string &path)
{
    return runCommand("convert -size 40x30 xc:green -strip " + quoted(path));
}

// The metadata exiftool finds that could tell about a picture's maker or place.
inline std::string identifyingTags(const std::string &path)
{
    return commandOutput("exiftool -a -G1 -s -EXIF:all -GPS:all -XMP:all -IPTC:all "
                         "-ICC_Profile:all -PNG:TextualData "
        + quoted(path));
}

inline std::pair<int, int> pixelSize(const std::string &path)
{
    const std::string text = commandOutput("vipsheader -f width " + quoted(path)) + " "
        + commandOutput("vipsheader -f height " + quoted(path));
    int width = 0;
    int height = 0;
    std::sscanf(text.c_str(), "%d %d", &width, &height);
    return { width, height };
}

// The colour at a point as libvips reads it, "R G B".
inline std::array<int, 3> colourAt(const std::string &path, int x, int y)
{
    std::array<int, 3> rgb {};
    const std::string text = commandOutput(
        "vips getpoint " + quoted(path) + " " + std::to_string(x) + " " + std::to_string(y));
    std::sscanf(text.c_str(), "%d %d %d", &rgb[0], &rgb[1], &rgb[2]);
    return rgb;
}

} // namespace stv::test
