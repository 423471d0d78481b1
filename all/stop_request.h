#pragma once
// A request to end the editor in an orderly way, made outside the main flow
// (a signal handler, the window's close button). The main flow notices it in
// every key wait, leaves what it is doing without applying it, and saves.

// The reason of a request made by the window's close button; every other
// reason is a signal number.
constexpr int kWindowClosed = -1;
// The reason of a request made when the X connection is lost.
constexpr int kConnectionLost = -2;

// Records the request; the first reason is kept. Safe in a signal handler.
void RequestStop(int reason);
bool StopRequested();
// The first request's reason, 0 while there is none.
int StopReason();
// "SIGTERM", "SIGHUP", "SIGINT", "SIGQUIT", "Window closed", "The X
// connection was lost", or "Stop".
const char* StopReasonName(int reason);
// Forgets the request, for tests that make one.
void ClearStopRequest();
