// The HTTP(S) transfer through WinHTTP, Windows' own, with the system's trusted certificates and
// proxy settings. WinHTTP reads the headers and the body; this file only judges what it reports.
// Redirects are followed here, not by WinHTTP, which would follow one to http:// first.
#include <windows.h>
#include <shlwapi.h>
#include <winhttp.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cwchar>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/native_text_win32.h"
#include "tools/common/windows_error.h"
#include "tools/fetch/fetch_failure.h"
#include "tools/fetch/http_get.h"
#include "tools/fetch/received_file.h"
#include "version.h"

namespace fetch {

namespace {

constexpr int kMostRedirects = 10;

// What WinHTTP said of a certificate it refused, from its status callback.
DWORD gCertificateProblem = 0;

void CALLBACK onStatus(HINTERNET, DWORD_PTR, DWORD status, void* information, DWORD) {
  if (status == WINHTTP_CALLBACK_STATUS_SECURE_FAILURE && information) gCertificateProblem = *static_cast<DWORD*>(information);
}

struct InternetHandle {
  HINTERNET handle;
  explicit InternetHandle(HINTERNET opened) : handle(opened) {}
  ~InternetHandle() {
    if (handle) WinHttpCloseHandle(handle);
  }
};

struct Place {
  bool secure = false;
  std::wstring host;
  INTERNET_PORT port = 0;
  std::wstring path;
};

Place placeOf(const std::wstring& url, const std::string& shown) {
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = DWORD(-1);
  parts.dwUrlPathLength = DWORD(-1);
  parts.dwExtraInfoLength = DWORD(-1);
  if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts) || !parts.lpszHostName ||
      (parts.nScheme != INTERNET_SCHEME_HTTPS && parts.nScheme != INTERNET_SCHEME_HTTP)) {
    throw FetchFailure(kNotFetched, shown + " is not an address I can fetch.");
  }
  Place place;
  place.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  place.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  place.port = parts.nPort;
  if (parts.lpszUrlPath) place.path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (parts.lpszExtraInfo) place.path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (place.path.empty()) place.path = L"/";
  return place;
}

std::wstring header(HINTERNET request, DWORD which) {
  DWORD size = 0;
  WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size, WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return L"";
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  if (!WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &size, WINHTTP_NO_HEADER_INDEX))
    return L"";
  value.resize(size / sizeof(wchar_t));
  return value;
}

[[noreturn]] void fail(DWORD problem, const std::string& url, const std::string& host, const ReceivedFile& file,
                       int stallSeconds) {
  switch (problem) {
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
      throw FetchFailure(kNotFetched, "I cannot find the server " + host + ": its name is unknown, or this computer is offline.");
    case ERROR_WINHTTP_CANNOT_CONNECT:
      throw FetchFailure(kNotFetched, "I cannot reach the server " + host + ": it does not answer, or this computer is offline.");
    case ERROR_WINHTTP_TIMEOUT:
    case WSAETIMEDOUT:  // as Wine says it
      throw FetchFailure(kNotFetched, stallMessage(stallSeconds));
    case ERROR_WINHTTP_SECURE_INVALID_CA:
      throw FetchFailure(kNotFetched, "The server's certificate is not signed by an authority this computer trusts.");
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
      throw FetchFailure(kNotFetched, "The server's certificate has expired.");
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
      if (gCertificateProblem & WINHTTP_CALLBACK_STATUS_FLAG_INVALID_CA) fail(ERROR_WINHTTP_SECURE_INVALID_CA, url, host, file, stallSeconds);
      if (gCertificateProblem & WINHTTP_CALLBACK_STATUS_FLAG_CERT_DATE_INVALID)
        fail(ERROR_WINHTTP_SECURE_CERT_DATE_INVALID, url, host, file, stallSeconds);
      // Wine says no more than this of a certificate it refused.
      if (problem == ERROR_WINHTTP_SECURE_CHANNEL_ERROR) {
        throw FetchFailure(kNotFetched, "I could not open a secure connection to " + host +
                                            ": its certificate was refused, or it speaks no encryption this computer accepts.");
      }
      [[fallthrough]];
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
      throw FetchFailure(kNotFetched, "The certificate of " + host + " was refused: " + tools::windowsErrorText(problem));
    case ERROR_WINHTTP_CONNECTION_ERROR:
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
      throw FetchFailure(kNotFetched, "The connection to " + host + " broke off after " + std::to_string(file.received()) +
                                          " of " + std::to_string(file.size()) + " bytes.");
  }
  throw FetchFailure(kNotFetched, "I could not fetch " + url + ": " + tools::windowsErrorText(problem));
}

// WinHTTP's reads wait for the bytes: beside them, the bytes so far are reported while nothing
// comes, as libcurl's progress callback does in the curl twin, so that the last line never trails.
class PendingReports {
 public:
  explicit PendingReports(ReceivedFile& file) : file_(file), thread_([this] { run(); }) {}
  ~PendingReports() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  /// Held while the file takes bytes.
  std::mutex& mutex() { return mutex_; }

 private:
  void run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!wake_.wait_for(lock, std::chrono::milliseconds(250), [this] { return done_; })) file_.reportPending();
  }
  ReceivedFile& file_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  std::thread thread_;
};

HINTERNET openSession() {
  const std::wstring userAgent = platform::wideText(std::string("Wadwright/") + kProgramVersion);
  // The proxy the system is set to use (Windows 8.1 and later), else the one WinHTTP is set to use.
  HINTERNET session = WinHttpOpen(userAgent.c_str(), WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                                  WINHTTP_NO_PROXY_BYPASS, 0);
  if (!session) {
    session = WinHttpOpen(userAgent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                          WINHTTP_NO_PROXY_BYPASS, 0);
  }
  return session;
}

}  // namespace

void httpGet(const std::string& address, ReceivedFile& file, int stallSeconds) {
  const std::string url = shownAddress(address);  // what is said; `address` is what is fetched
  InternetHandle session(openSession());
  if (!session.handle) throw FetchFailure(kNotFetched, "I could not start the transfer of " + url + ": " + tools::windowsErrorText(GetLastError()));
  const int stall = stallSeconds * 1000;
  WinHttpSetTimeouts(session.handle, stall, stall, stall, stall);
  std::wstring current = platform::wideText(address);
  for (int redirects = 0;; ++redirects) {
    const Place place = placeOf(current, url);
    const std::string host = platform::narrowText(place.host);
    InternetHandle connection(WinHttpConnect(session.handle, place.host.c_str(), place.port, 0));
    InternetHandle request(connection.handle ? WinHttpOpenRequest(connection.handle, L"GET", place.path.c_str(), nullptr,
                                                                  WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                                  place.secure ? WINHTTP_FLAG_SECURE : 0)
                                             : nullptr);
    if (!request.handle) fail(GetLastError(), url, host, file, stallSeconds);
    DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    WinHttpSetOption(request.handle, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never);
    WinHttpSetStatusCallback(request.handle, onStatus, WINHTTP_CALLBACK_FLAG_SECURE_FAILURE, 0);
    gCertificateProblem = 0;
    if (!WinHttpSendRequest(request.handle, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(request.handle, nullptr)) {
      fail(GetLastError(), url, host, file, stallSeconds);
    }
    Answer answer;
    answer.status = int(std::wcstol(header(request.handle, WINHTTP_QUERY_STATUS_CODE).c_str(), nullptr, 10));
    if (answer.status == 301 || answer.status == 302 || answer.status == 303 || answer.status == 307 || answer.status == 308) {
      const std::wstring location = header(request.handle, WINHTTP_QUERY_LOCATION);
      std::wstring next(8192, L'\0');
      DWORD length = DWORD(next.size());
      if (location.empty() || FAILED(UrlCombineW(current.c_str(), location.c_str(), next.data(), &length, 0))) {
        throw FetchFailure(kNotTheFile, "The server sent me on from " + url + " to nowhere.");
      }
      next.resize(length);
      if (_wcsnicmp(next.c_str(), L"https://", 8) != 0) {
        throw FetchFailure(kNotTheFile, "The server sent me on from " + url + " to an address that is not https://: I do not follow it.");
      }
      if (redirects == kMostRedirects) throw FetchFailure(kNotTheFile, "The server sent me on too many times from " + url);
      current = next;
      continue;
    }
    answer.contentType = platform::narrowText(header(request.handle, WINHTTP_QUERY_CONTENT_TYPE));
    const std::wstring length = header(request.handle, WINHTTP_QUERY_CONTENT_LENGTH);
    if (!length.empty()) answer.contentLength = std::wcstoll(length.c_str(), nullptr, 10);
    checkAnswer(answer, url, file.size());

    static char chunk[1 << 16];
    PendingReports reports(file);
    for (;;) {
      // Asked first what has come, so that a read takes that and does not wait to fill the chunk
      // (as Wine's does).
      DWORD available = 0, got = 0;
      if (!WinHttpQueryDataAvailable(request.handle, &available)) fail(GetLastError(), url, host, file, stallSeconds);
      if (available == 0) break;
      if (!WinHttpReadData(request.handle, chunk, std::min<DWORD>(available, sizeof chunk), &got))
        fail(GetLastError(), url, host, file, stallSeconds);
      if (got == 0) break;
      const std::lock_guard<std::mutex> lock(reports.mutex());
      file.add(chunk, got);
    }
    // A body cut short of the length the server said is a broken connection, not a wrong file.
    if (answer.contentLength >= 0 && file.received() < answer.contentLength) {
      fail(ERROR_WINHTTP_CONNECTION_ERROR, url, host, file, stallSeconds);
    }
    return;
  }
}

}  // namespace fetch
