// The viewer as a whole: start-up, the event loop and the end sequence.
#pragma once

int runViewer(int argc, char** argv);
