// main() of the fault cases. The test process makes itself the subreaper of everything it starts,
// so that a reader or a sound that outlives its game comes back to the case, which can see it,
// count it as left behind and end it.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>

// After gtest: Xlib's macros (None, Bool, Status) would break its templates.
#include <X11/Xlib.h>

namespace {

// The game's windows come and go while the cases look at them: a window destroyed between a
// listing and a question about it is an answer ("not there"), not a reason to end the test.
int IgnoreVanishedWindows(Display*, XErrorEvent*) { return 0; }

}  // namespace

int main(int argc, char** argv)
{
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    XSetErrorHandler(IgnoreVanishedWindows);
    // A joystick reader may close its FIFO while a case writes to it; the write then fails.
    signal(SIGPIPE, SIG_IGN);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
