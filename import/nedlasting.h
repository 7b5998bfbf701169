// Fetching a file from the maker's web server over HTTP/1.0, or over TLS for
// an https:// address: a date request that reads the file's last-modified
// date, then the transfer itself.
//
// Both functions block until their request has ended and call their callbacks
// on the calling thread. The download window runs them on a worker thread and
// hands each callback to the window thread; the command-line tool calls them
// directly. Nothing is shared between calls, so several may run at once on
// different threads.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

// An address split into host, port and path. "http://" in front (in any
// letter case) is dropped; "https://" in front is dropped too and makes the
// request go over TLS, to port 443 unless a port is given. The host is the
// text before the first '/', the path the text after it. A port may follow
// the host after ':'. Other schemes are not recognised: "ftp://x/y" gives the
// host "ftp:", which is not valid, so such an address fails.
struct TUrlDeler {
  std::string vert;
  int port = 80;
  std::string sti;  // without the leading '/'
  bool https = false;
  bool gyldig = false;
};

TUrlDeler SplittUrl(const std::string& url);

struct TNedlastValg {
  std::string agent = "TJvMultiHttpGrabber Component";  // sent as User-Agent
  long stilleSekunder = 60;   // a server that sends nothing this long ends the request as failed
  long koblingSekunder = 60;  // longest wait for a connection
  // The largest file a transfer takes: a longer body (or a longer announced
  // length) ends the transfer as failed, so that a server that never stops
  // sending cannot fill the disk.
  std::int64_t maksBytes = std::int64_t{2} << 30;
  // For https: a PEM file of certificates to trust besides the system's (an
  // organisation's own certificate authority); empty for none. The server's
  // certificate and host name are always verified.
  std::string sertifikat;
  // The system's trusted certificates as one PEM file; empty for the bundle
  // libcurl was built with (Debian's ca-certificates). Tests name their own.
  std::string systemSertifikater;
};

// The date request: a GET whose body is not read. Gives the server's
// Last-Modified of the file as a day count from 30 December 1899 (UTC, with
// the time of day as the fraction), or -1 when the answer has none, is not
// 200 OK, or the request failed. `fortsett` (may be empty) is asked about ten
// times a second; false ends the request at once with -1.
double HentSistEndret(const std::string& url, const TNedlastValg& valg, const std::function<bool()>& fortsett);

// What the transfer reports while it runs. Every member may be empty.
struct TOverforingsHendelser {
  // The connection to the server is made (the window shows "Fikk kontakt med tjener").
  std::function<void()> kobler;
  // Once with 0 bytes when the server has answered 200 OK and before any of the
  // body, then after every piece of the body. `totalt` is the announced length,
  // -1 when the server gave none. False cancels the transfer.
  std::function<bool(std::int64_t lest, std::int64_t totalt)> fremdrift;
  // The transfer failed; a Norwegian text (UTF-8) that says why and what to
  // do. Not called on a cancel.
  std::function<void(const std::string& melding)> feil;
  // Asked about ten times a second, also while the server is silent; false
  // cancels the transfer. Lets a cancel end the transfer at once without
  // waiting for the next piece of the body.
  std::function<bool()> fortsett;
};

enum class TOverforing {
  Ferdig,   // the file is in place
  Feil,     // failed; `feil` was called
  Avbrutt,  // cancelled through `fremdrift` or `fortsett`
};

// The file beside `maal` that a transfer writes into.
std::filesystem::path Nedlastingsfil(const std::filesystem::path& maal);

// The transfer: a GET over HTTP/1.0 (over TLS for https) into `maal`, whose
// folder is created (with any missing parents) first. Only a 200 OK answer with a body that is
// as long as announced, and no longer than `valg.maksBytes`, counts: an empty
// body fails. The body goes to Nedlastingsfil(maal), which is renamed over
// `maal` when complete; on a failure or a cancel that file is removed and an
// existing `maal` stays as it was. Over https, a certificate that fails
// verification ends the transfer with a message that names the reason; a
// redirect from https to any other scheme is refused.
TOverforing HentFil(const std::string& url, const std::filesystem::path& maal, const TNedlastValg& valg,
                    const TOverforingsHendelser& hendelser);
