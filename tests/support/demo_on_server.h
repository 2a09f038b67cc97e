#pragma once
// The demo installation with its TARV databases on the PostgreSQL test server: the
// databases copied there rows and all, declared as the demo builder declares them (so
// CHAR padding and types match the embedded ones), and the installation's engines file
// and configuration pointed at the server account. A suite written against the demo
// then runs unchanged on either engine.

#include "app/session.h"

#include <filesystem>

namespace zq::test {

class PgTarv;

/// Copies the TARV databases of the demo installation in `dir` to `pg`, adds the
/// account's own utenti row, and rewrites the installation's engines file and
/// configuration for the server.
void moveDemoTarvToServer(const std::filesystem::path& dir, PgTarv& pg);

/// The demo's configuration with the server account, host and server name of `pg`.
Config demoConfigOnServer(const std::filesystem::path& dir, const PgTarv& pg);

}  // namespace zq::test
