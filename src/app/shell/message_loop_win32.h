#pragma once

// Runs until the main window posts the quit message; returns its status.
int run_message_loop();
