#!/bin/sh
# run_in_russian_locale.sh <locale folder> <command> [arguments...]
# Runs the command with glibc's ru_RU.UTF-8 locale, compiled into the folder
# when missing, so that Wine gives its programs the ANSI code page 1251.
# Exits with 77 (skipped) when the locale cannot be made here.
set -u
locales=$1
shift
if [ ! -d "$locales/ru_RU.UTF-8" ]; then
  command -v localedef >/dev/null 2>&1 || { echo "localedef is missing"; exit 77; }
  mkdir -p "$locales"
  localedef -i ru_RU -f UTF-8 "$locales/ru_RU.UTF-8" || [ -d "$locales/ru_RU.UTF-8" ] ||
    { echo "cannot compile the ru_RU.UTF-8 locale"; exit 77; }
fi
LOCPATH=$locales LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 MARROWDALE_EXPECT_ACP=1251 exec "$@"
