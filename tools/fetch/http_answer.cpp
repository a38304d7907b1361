#include <algorithm>
#include <cctype>
#include <utility>

#include "tools/fetch/fetch_failure.h"
#include "tools/fetch/http_get.h"

namespace fetch {

namespace {

// HTTP/2 carries no reason phrase: the common ones are named here, as HTTP/1.1 servers name them.
const std::pair<int, const char*> kReasons[] = {
    {204, "No Content"},     {206, "Partial Content"},  {400, "Bad Request"},         {401, "Unauthorized"},
    {403, "Forbidden"},      {404, "Not Found"},        {405, "Method Not Allowed"},  {408, "Request Timeout"},
    {410, "Gone"},           {429, "Too Many Requests"}, {500, "Internal Server Error"}, {501, "Not Implemented"},
    {502, "Bad Gateway"},    {503, "Service Unavailable"}, {504, "Gateway Timeout"}};

std::string statusText(int status) {
  for (const auto& [code, reason] : kReasons) {
    if (code == status) return std::to_string(status) + " (" + reason + ")";
  }
  return std::to_string(status);
}

}  // namespace

void checkAnswer(const Answer& answer, const std::string& url, int64_t size) {
  if (answer.status != 200) {
    throw FetchFailure(kNotTheFile, "The server answered " + statusText(answer.status) + " for " + url);
  }
  std::string type = answer.contentType.substr(0, answer.contentType.find(';'));
  std::transform(type.begin(), type.end(), type.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  // A site's "not found" page served as a success.
  if (type == "text/html" || type == "application/xhtml+xml") {
    throw FetchFailure(kNotTheFile, "The server sent a web page, not the collection's file, for " + url);
  }
  if (answer.contentLength >= 0 && answer.contentLength != size) {
    throw FetchFailure(kNotTheFile, "What came is not the collection's file: the server offers " +
                                        std::to_string(answer.contentLength) + " bytes, not " + std::to_string(size) +
                                        ", for " + url);
  }
}

std::string shownAddress(const std::string& url) {
  const size_t start = url.find("://");
  if (start == std::string::npos) return url;
  const size_t end = url.find_first_of("/?#", start + 3);
  const size_t at = url.rfind('@', end == std::string::npos ? std::string::npos : end);
  if (at == std::string::npos || at < start + 3) return url;
  return url.substr(0, start + 3) + url.substr(at + 1);
}

std::string stallMessage(int stallSeconds) {
  return "No byte has come for " + std::to_string(stallSeconds) + " seconds: I gave up.";
}

}  // namespace fetch
