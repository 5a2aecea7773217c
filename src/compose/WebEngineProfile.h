#pragma once

class CookieStore;
class QWebEngineProfile;

// The program's one web-engine profile: off the record (nothing kept on disk), made on first
// use, never at start. Its cookies mirror the network thread's CookieStore: every cookie of the
// store reaches the engine, so a login made by the HTTP client is the pages' login, and a cookie
// a page sets for one of the auction site's domains reaches the HTTP client; cookies of other
// hosts stay in the engine.
namespace WebEngineProfile {

// The profile, made now when it does not exist yet. When the network thread's cookie store has
// been replaced since (a fresh NetworkThread instance), a new profile mirrors the new store.
QWebEngineProfile* shared();

} // namespace WebEngineProfile
