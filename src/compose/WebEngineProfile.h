#pragma once

class CookieStore;
class QWebEngineProfile;

// The program's one web-engine profile: off the record (nothing kept on disk), made on first
// use, never at start. Its cookies mirror the network thread's CookieStore both ways, so a
// login made by the HTTP client is the pages' login and a cookie a page sets reaches the HTTP
// client.
namespace WebEngineProfile {

// The profile, made now when it does not exist yet. When the network thread's cookie store has
// been replaced since (a fresh NetworkThread instance), a new profile mirrors the new store.
QWebEngineProfile* shared();

} // namespace WebEngineProfile
