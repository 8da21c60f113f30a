#!/usr/bin/env bash
# Updates apt's package lists: `apt-get [OPTION...] update`, tried again while
# the mirror answers with lists that do not match its own index ("File has
# unexpected size ... Mirror sync in progress?"). That fault passes once the
# mirror has finished syncing, so it is tried three times over a minute; a
# mirror that stays out of step for longer is not waited for. Exits with
# apt-get's status of the last try; the caller decides whether the lists apt
# already has are enough to go on with.
set -uo pipefail

tries=3
for ((try = 1; ; try++)); do
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -o Acquire::Retries=3 "$@" update
  status=$?
  [ "$status" -eq 0 ] && exit 0
  [ "$try" -lt "$tries" ] || break
  echo "apt-get update failed (try $try of $tries, exit $status); trying again in $((20 * try)) s" >&2
  sleep $((20 * try))
done
echo "apt-get update failed $tries times (exit $status)" >&2
exit "$status"
