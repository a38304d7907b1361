// The HTTP(S) transfer through libcurl, with OpenSSL and the system's trusted certificates as
// Debian builds it. libcurl reads the headers and the body; this file only judges what it reports.
#include <curl/curl.h>
#include <openssl/x509_vfy.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <memory>
#include <sstream>
#include <vector>

#include "tools/fetch/fetch_failure.h"
#include "tools/fetch/http_get.h"
#include "tools/fetch/received_file.h"
#include "version.h"

namespace fetch {

namespace {

using Clock = std::chrono::steady_clock;

struct Transfer {
  Transfer(CURL* curl, ReceivedFile& file, const std::string& url, int stallSeconds)
      : curl(curl), file(file), url(url), stallSeconds(stallSeconds) {}
  CURL* curl;
  ReceivedFile& file;
  const std::string& url;  ///< as it is shown
  int stallSeconds;
  bool answered = false;
  bool stalled = false;
  std::exception_ptr failure;
  curl_off_t lastCount = -1;
  Clock::time_point lastByte = Clock::now();
};

void judgeAnswer(Transfer& transfer) {
  transfer.answered = true;
  Answer answer;
  long status = 0;
  curl_easy_getinfo(transfer.curl, CURLINFO_RESPONSE_CODE, &status);
  answer.status = int(status);
  const char* type = nullptr;
  if (curl_easy_getinfo(transfer.curl, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type) answer.contentType = type;
  curl_off_t length = -1;
  curl_easy_getinfo(transfer.curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  answer.contentLength = length;
  checkAnswer(answer, transfer.url, transfer.file.size());
}

size_t onBody(char* bytes, size_t, size_t count, void* data) {
  Transfer& transfer = *static_cast<Transfer*>(data);
  try {
    if (!transfer.answered) judgeAnswer(transfer);
    transfer.file.add(bytes, count);
    return count;
  } catch (...) {
    transfer.failure = std::current_exception();
    return 0;  // libcurl stops at once
  }
}

// Called about once a second whatever happens, so it also sees a server that says nothing at all.
int onProgress(void* data, curl_off_t, curl_off_t received, curl_off_t, curl_off_t) {
  Transfer& transfer = *static_cast<Transfer*>(data);
  transfer.file.reportPending();
  const auto now = Clock::now();
  if (received != transfer.lastCount) {
    transfer.lastCount = received;
    transfer.lastByte = now;
  } else if (now - transfer.lastByte >= std::chrono::seconds(transfer.stallSeconds)) {
    transfer.stalled = true;
    return 1;
  }
  return 0;
}

std::string urlPart(const std::string& url, CURLUPart which, unsigned int flags = 0) {
  std::string text;
  CURLU* parsed = curl_url();
  char* part = nullptr;
  if (curl_url_set(parsed, CURLUPART_URL, url.c_str(), flags) == CURLUE_OK && curl_url_get(parsed, which, &part, 0) == CURLUE_OK) {
    text = part;
  }
  curl_free(part);
  curl_url_cleanup(parsed);
  return text;
}

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

// True when no_proxy (or NO_PROXY) keeps `host` from the proxy, as libcurl reads it: "*", or a
// list of names each of which stands for itself and every name below it.
bool bypassesProxy(const std::string& host) {
  const char* list = std::getenv("no_proxy");
  if (!list || !*list) list = std::getenv("NO_PROXY");
  if (!list) return false;
  const std::string name = lowered(host);
  // An address is matched whole (libcurl also takes a range, such as 10.0.0.0/8: rare enough here).
  const bool address = name.find_first_not_of("0123456789.") == std::string::npos || name.find(':') != std::string::npos;
  std::string text(list);
  std::replace(text.begin(), text.end(), ',', ' ');
  std::istringstream words(text);
  for (std::string word; words >> word;) {
    if (word == "*") return true;
    word = lowered(word.erase(0, word.find_first_not_of('.')));
    if (!word.empty() && (name == word || (!address && name.ends_with("." + word)))) return true;
  }
  return false;
}

// The proxy libcurl takes from the environment for `url`, as "HOST:PORT (VARIABLE)"; empty when
// it takes none.
std::string proxyFor(const std::string& url) {
  const std::string scheme = lowered(urlPart(url, CURLUPART_SCHEME));
  // libcurl reads http_proxy in lower case only: a web server's CGI sets HTTP_PROXY from a header.
  const std::vector<std::string> names = scheme == "https" ? std::vector<std::string>{"https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}
                                                           : std::vector<std::string>{"http_proxy", "all_proxy", "ALL_PROXY"};
  for (const std::string& name : names) {
    const char* proxy = std::getenv(name.c_str());
    if (!proxy || !*proxy) continue;
    if (bypassesProxy(urlPart(url, CURLUPART_HOST))) return {};
    // Its host and port alone: a proxy's address may hold a password.
    const std::string host = urlPart(proxy, CURLUPART_HOST, CURLU_GUESS_SCHEME), port = urlPart(proxy, CURLUPART_PORT, CURLU_GUESS_SCHEME);
    return (host.empty() ? "" : host + (port.empty() ? "" : ":" + port) + " ") + "(" + name + ")";
  }
  return {};
}

[[noreturn]] void failCertificate(CURL* curl, const std::string& host, const char* detail) {
  long result = 0;
  curl_easy_getinfo(curl, CURLINFO_SSL_VERIFYRESULT, &result);
  switch (result) {
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
      throw FetchFailure(kNotFetched, "The server's certificate is not signed by an authority this computer trusts.");
    case X509_V_ERR_CERT_HAS_EXPIRED:
      throw FetchFailure(kNotFetched, "The server's certificate has expired.");
  }
  throw FetchFailure(kNotFetched, "The certificate of " + host + " was refused: " + detail);
}

[[noreturn]] void fail(CURLcode code, Transfer& transfer, const char* detail) {
  std::string host = urlPart(transfer.url, CURLUPART_HOST);
  if (host.empty()) host = transfer.url;
  long status = 0;
  curl_easy_getinfo(transfer.curl, CURLINFO_RESPONSE_CODE, &status);
  const std::string got = std::to_string(transfer.file.received()) + " of " + std::to_string(transfer.file.size());
  switch (code) {
    case CURLE_UNSUPPORTED_PROTOCOL:
      if (status >= 300 && status < 400) {
        throw FetchFailure(kNotTheFile, "The server sent me on from " + transfer.url +
                                            " to an address that is not https://: I do not follow it.");
      }
      break;
    case CURLE_TOO_MANY_REDIRECTS:
      throw FetchFailure(kNotTheFile, "The server sent me on too many times from " + transfer.url);
    case CURLE_COULDNT_RESOLVE_HOST:
      throw FetchFailure(kNotFetched, "I cannot find the server " + host + ": its name is unknown, or this computer is offline.");
    case CURLE_COULDNT_RESOLVE_PROXY:
      throw FetchFailure(kNotFetched, "I cannot find the proxy server this computer is set to use.");
    case CURLE_COULDNT_CONNECT:
      if (const std::string proxy = proxyFor(transfer.url); !proxy.empty())
        throw FetchFailure(kNotFetched, "I cannot reach the proxy server " + proxy + ": it does not answer.");
      throw FetchFailure(kNotFetched, "I cannot reach the server " + host + ": it does not answer, or this computer is offline.");
    case CURLE_OPERATION_TIMEDOUT:
      throw FetchFailure(kNotFetched, stallMessage(transfer.stallSeconds));
    case CURLE_PEER_FAILED_VERIFICATION:
      failCertificate(transfer.curl, host, detail);
    case CURLE_SSL_CONNECT_ERROR:
      throw FetchFailure(kNotFetched, "The secure connection to " + host + " failed: " + detail);
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_HTTP2_STREAM:
      throw FetchFailure(kNotFetched, "The connection to " + host + " broke off after " + got + " bytes.");
    case CURLE_URL_MALFORMAT:
      throw FetchFailure(kNotFetched, transfer.url + " is not an address I can fetch.");
    default:
      break;
  }
  throw FetchFailure(kNotFetched, "I could not fetch " + transfer.url + ": " + detail);
}

}  // namespace

void httpGet(const std::string& url, ReceivedFile& file, int stallSeconds) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  const std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
  const std::string shown = shownAddress(url);
  if (!curl) throw FetchFailure(kNotFetched, "I could not start the transfer of " + shown);
  Transfer transfer(curl.get(), file, shown, stallSeconds);
  char detail[CURL_ERROR_SIZE] = "";
  const std::string userAgent = std::string("Wadwright/") + kProgramVersion;
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, detail);
  curl_easy_setopt(c, CURLOPT_USERAGENT, userAgent.c_str());
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  // Redirects lead to https:// only: a plain http:// answer could be anything.
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "https");
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
  // Verification is libcurl's default; said here so that no one takes it for optional.
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, long(stallSeconds));
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, onBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, onProgress);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);
  const CURLcode code = curl_easy_perform(c);
  if (transfer.failure) std::rethrow_exception(transfer.failure);
  if (transfer.stalled) throw FetchFailure(kNotFetched, stallMessage(stallSeconds));
  if (code != CURLE_OK) fail(code, transfer, detail[0] ? detail : curl_easy_strerror(code));
  if (!transfer.answered) judgeAnswer(transfer);  // an answer without a body
}

}  // namespace fetch
