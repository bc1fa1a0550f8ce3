// Binds the client's handlers to the names the forms use.
#pragma once

namespace corvalin::client {

// Registers every handler of both windows; call before the main window loads.
void RegisterClientHandlers();

}  // namespace corvalin::client
