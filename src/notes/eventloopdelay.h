#pragma once

// Points the INI store's wait between lock-file attempts at the Qt event loop: the program
// keeps handling its events while it waits. A wait asked for while one is running (from a
// handler called inside it) returns false at once; quitting the application cancels a running
// wait, which then returns false too. Call once the application object exists.
void installEventLoopDelay();
