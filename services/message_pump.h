// Message pumping inside long-running handlers.
#pragma once

namespace pelmora {

// Dispatches every pending message except WM_QUIT, which stays queued for the
// main loop.
void processPendingMessages();

// Waits until the tick count has passed now + ms, dispatching messages at
// least twice; nothing at all for ms <= 0. Handlers (even the caller's own)
// can run inside.
void waitPumping(int ms);

void sleepMs(int ms);  // no messages are processed; negative counts as 0

}  // namespace pelmora
