// The process the crash-consistency tests kill with SIGKILL at random moments: it rewrites one
// file in a loop, the way the program does, until it is killed.
//     tolvane_crash_child camlist FOLDER   edits the one cam of FOLDER/00camlist.txt again and again
//     tolvane_crash_child jpeg FILE        saves the two scenario pictures over FILE in turn
// It says "ready" on its standard output once the loop is about to start.
#include <QCoreApplication>
#include <cstdio>
#include <sys/prctl.h>

#include <csignal>

#include "CamList.h"
#include "CrashScenario.h"
#include "DIBSection.h"
#include "JpegWriter.h"
#include "ProgramFolder.h"
#include "TolvaneError.h"

namespace {
// Enough for any test run; a child whose test died stops by itself all the same.
constexpr int kMaxRounds = 100'000;

void SayReady()
{
    std::puts("ready");
    std::fflush(stdout);
}

int EditCamListForever(const QString& folder)
{
    SetProgramFolder(folder);
    SayReady();
    for (int edit = 1; edit <= kMaxRounds; ++edit) {
        const CamRecord old{CrashScenario::kCamName, CrashScenario::CamUrl(edit - 1), CrashScenario::kRefresh};
        const CamRecord edited{CrashScenario::kCamName, CrashScenario::CamUrl(edit), CrashScenario::kRefresh};
        if (!ReplaceCamRecord(old, edited)) {
            std::fprintf(stderr, "crash_child: edit %d did not find the cam\n", edit);
            return 1;
        }
    }
    return 0;
}

int SavePicturesForever(const QString& fileName)
{
    cDIBSection pictures[2];
    for (int which = 0; which < 2; ++which)
        pictures[which].CreateFromPicture(CrashScenario::Picture(which));
    SayReady();
    for (int round = 0; round < kMaxRounds; ++round)
        SaveDibAsJpeg(pictures[round % 2], fileName, CrashScenario::kQuality);
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    // Never outlive the test that started it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: tolvane_crash_child camlist FOLDER | jpeg FILE\n");
        return 2;
    }
    try {
        if (args[1] == QStringLiteral("camlist"))
            return EditCamListForever(args[2]);
        if (args[1] == QStringLiteral("jpeg"))
            return SavePicturesForever(args[2]);
    } catch (const CamListError& error) {
        std::fprintf(stderr, "crash_child: %s\n", qPrintable(error.message()));
        return 1;
    } catch (const TolvaneError& error) {
        std::fprintf(stderr, "crash_child: %s\n", error.what());
        return 1;
    }
    std::fprintf(stderr, "crash_child: unknown mode %s\n", qPrintable(args[1]));
    return 2;
}
