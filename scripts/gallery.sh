#!/usr/bin/env bash
# Installs what is missing, builds, and starts the skin gallery under Wine
# (see run.sh).
exec bash "$(dirname "$0")/run.sh" gallery "$@"
