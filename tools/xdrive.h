// SPDX-License-Identifier: MIT
// Everything that drives a real program's window over X: the X client, child processes and
// the session that ties them together.
#ifndef TOOLS_XDRIVE_H
#define TOOLS_XDRIVE_H

#include "process.h"
#include "session.h"
#include "x_client.h"

#endif  // TOOLS_XDRIVE_H
