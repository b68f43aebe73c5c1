// Runs a built program as a real process and waits for it: arguments passed one by one,
// the environment of the test less PAGIMOND_HOME plus given NAME=VALUE entries, standard
// input empty, standard output and standard error into files. POSIX systems go through
// the shell; Windows through CreateProcess with an argument line quoted as its runtime
// reads it back. Names and arguments are bytes as the core holds them (UTF-8 on Windows).
#pragma once

#include <string>
#include <vector>

#include "base/files.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/wait.h>

#include <cstdlib>
#endif

#include "base/text.h"

namespace pmtest {

// `s` quoted for a POSIX shell.
inline std::string shell_quote(const std::string& s) { return "'" + pm::replace_all(s, "'", "'\\''") + "'"; }

#if defined(_WIN32)

namespace detail {
// One argument as the C runtime splits the command line: quoted, a quote escaped with a
// backslash, backslashes doubled before a quote or the closing quote.
inline std::wstring quote_argument(const std::wstring& arg) {
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

inline HANDLE inheritable(const std::wstring& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}
}  // namespace detail

// Returns the exit status, or -1 when the program could not be started.
inline int run_program(const std::string& program, const std::vector<std::string>& args,
                       const std::vector<std::string>& env, const std::string& stdout_path,
                       const std::string& stderr_path, const std::string& cwd = "") {
  auto wide = [](const std::string& s) { return pm::path_from_text(s).native(); };
  std::wstring line = detail::quote_argument(wide(program));
  for (const auto& a : args) line += L" " + detail::quote_argument(wide(a));

  std::wstring block;
  wchar_t* strings = ::GetEnvironmentStringsW();
  for (const wchar_t* e = strings; e && *e; e += wcslen(e) + 1) {
    if (_wcsnicmp(e, L"PAGIMOND_HOME=", 14) != 0) block.append(e).push_back(L'\0');
  }
  if (strings) ::FreeEnvironmentStringsW(strings);
  for (const auto& e : env) block.append(wide(e)).push_back(L'\0');
  block.push_back(L'\0');

  HANDLE in = detail::inheritable(L"NUL", GENERIC_READ, OPEN_EXISTING);
  HANDLE out = detail::inheritable(wide(stdout_path), GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE err = detail::inheritable(wide(stderr_path), GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = in;
  si.hStdOutput = out;
  si.hStdError = err;
  PROCESS_INFORMATION pi{};
  std::wstring dir = cwd.empty() ? std::wstring() : wide(cwd);
  BOOL started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
                                  block.data(), dir.empty() ? nullptr : dir.c_str(), &si, &pi);
  for (HANDLE h : {in, out, err})
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  if (!started) return -1;
  ::WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  ::GetExitCodeProcess(pi.hProcess, &code);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return int(code);
}

#else

// Returns the exit status, or -1 when the program did not exit normally.
inline int run_program(const std::string& program, const std::vector<std::string>& args,
                       const std::vector<std::string>& env, const std::string& stdout_path,
                       const std::string& stderr_path, const std::string& cwd = "") {
  const auto quote = shell_quote;
  std::string cmd = (cwd.empty() ? "" : "cd " + quote(cwd) + " && ") + "env -u PAGIMOND_HOME";
  for (const auto& e : env) cmd += " " + quote(e);
  cmd += " " + quote(program);
  for (const auto& a : args) cmd += " " + quote(a);
  cmd += " </dev/null >" + quote(stdout_path) + " 2>" + quote(stderr_path);
  int status = std::system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

}  // namespace pmtest
