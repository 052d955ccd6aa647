#pragma once
// The picture set the history benches write before they measure: how many, and how large.
// Both read "--count N --width W --height H" alike and refuse sizes that make no picture.
#include <QStringList>

#include <cstdio>
#include <optional>

struct PictureSetArgs {
    int count = 1000;
    int width = 1920;
    int height = 1080;
};

inline std::optional<PictureSetArgs> ReadPictureSetArgs(const QStringList& args, const char* program)
{
    PictureSetArgs set;
    for (qsizetype k = 1; k + 1 < args.size(); k += 2) {
        if (args[k] == "--count")
            set.count = args[k + 1].toInt();
        else if (args[k] == "--width")
            set.width = args[k + 1].toInt();
        else if (args[k] == "--height")
            set.height = args[k + 1].toInt();
    }
    if (set.count < 1 || set.width < 16 || set.height < 16) {
        std::fprintf(stderr, "usage: %s [--count N] [--width W] [--height H]\n", program);
        return std::nullopt;
    }
    return set;
}
