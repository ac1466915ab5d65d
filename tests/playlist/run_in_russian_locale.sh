#!/bin/sh
# run_in_russian_locale.sh <locale folder> <command> [arguments...]
# Runs the command with glibc's ru_RU.UTF-8 locale, compiled into the folder
# when missing, so that Wine gives its programs the ANSI code page 1251.
# Exits with 77 (skipped) when the locale cannot be made here.
set -u
locales=$1
shift
# glibc falls back to the ASCII "C" locale when the named one cannot be
# loaded, and Wine could then not even make the test's non-ASCII file names.
usable() {
  [ "$(LOCPATH=$locales LC_ALL=ru_RU.UTF-8 locale charmap 2>/dev/null)" = "UTF-8" ]
}
if ! usable; then
  command -v localedef >/dev/null 2>&1 || { echo "localedef is missing"; exit 77; }
  mkdir -p "$locales"
  # localedef leaves a usable locale behind even when it exits with warnings;
  # without the locale sources (Debian's locales package) it leaves an empty
  # folder.
  localedef -i ru_RU -f UTF-8 "$locales/ru_RU.UTF-8" >/dev/null 2>&1
  usable || {
    rm -rf "$locales/ru_RU.UTF-8"
    echo "cannot compile the ru_RU.UTF-8 locale (are the locale sources of the locales package installed?)"
    exit 77
  }
fi
LOCPATH=$locales LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 MARROWDALE_EXPECT_ACP=1251 exec "$@"
