#pragma once
// tarvlink: links from an SQLite database (the archive) to tables of TARV databases.
//
// A link is a virtual table that stands for one remote table. Reading it reads the
// remote rows; INSERT, UPDATE and DELETE on it change the remote rows. The remote
// table is reached through zq::openConnection(connect, installation()), so a link
// follows whatever engine the installation names (embedded SQLite files, ODBC).
//
//   CREATE VIRTUAL TABLE temp.fatture USING tarvlink(
//       connect='ODBC;DRIVER={INFORMIX-CLI 2.5 (32 bit)};PRO=sesoctcp;SRVR=srv;SERV=sqlexec;HOST=h;DATABASE=/usr/tarv/ditt001;DSN=Default;userid=mario;password=pw',
//       source='a2401011200001a2b');
//   SELECT * FROM fatture WHERE anno = 2024 AND tipo_doc = 3;    -- one remote SELECT with that WHERE
//   SELECT sys_record FROM fatture ORDER BY sys_record DESC LIMIT 1;  -- remote ORDER BY, one row read
//
// Arguments (link_spec.h): connect and source are required; columns fixes the remote
// columns as they were at link time (the archive API always writes it, so a link can
// be listed, renamed and dropped while its remote table is unreachable); key and
// keyname hold the primary key declared with
//   ALTER TABLE fatture ADD CONSTRAINT PrimaryKey PRIMARY KEY (sys_record)
// (executed through ArchiveDatabase::execute or the archive Connection). Updates and
// deletes address remote rows by that key; a link without a key refuses them.
//
// Dropping or renaming a link never touches the remote table. Remote connections are
// opened on first use and kept per SQLite connection, one per connect string.
//
// The same code is built as a loadable extension, build/lib/libzq_tarvlink.so:
//   $ ZEL_QUIRNOVA_HOME=/opt/zq sqlite3 Vizidore.mdb
//   sqlite> .load build/lib/libzq_tarvlink
//   sqlite> SELECT count(*) FROM "2401011200001a2b";
// The extension finds the installation (which engine, the embedded root) through the
// engines file of the folder ZEL_QUIRNOVA_HOME names (else the current folder); see
// engine_settings.h.
//
// Links are usable in direct statements only, not from triggers or views
// (SQLITE_VTAB_DIRECTONLY): a link carries credentials to an outside database, and the
// archive file can be edited by anyone who can open it, so a planted trigger or view
// must not be able to read or change TARV rows when someone touches another table.

#include "dataaccess/link_spec.h"

#include <string>
#include <vector>

struct sqlite3;

namespace zq {

/// Registers the module on one SQLite connection (every archive connection does).
/// Throws zq::Error when SQLite refuses.
void registerLinkModule(sqlite3* db);

/// True for a failure the module reports (its message says, in Italian, which operation
/// failed on which linked table, the driver's text following as detail): the archive's
/// own error text then leads with it.
bool isLinkFailure(const std::string& text);

/// The columns of `source` in the database `connect` names, read through the remote
/// connection cached for `db`. Throws zq::Error when the table cannot be read.
std::vector<LinkColumn> describeRemoteTable(sqlite3* db, const std::string& connect, const std::string& source);

}  // namespace zq
