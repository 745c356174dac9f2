#!/bin/sh
# Runs a window test inside a private network namespace of its own that has
# two interfaces, 10.71.1.1/24 (the default route) and 10.71.2.1/24, built
# from veth pairs. Nothing sent there reaches a real interface. Without root
# the test runs as it is, told by LUMI_NETNS_UNAVAILABLE to skip what needs it.
if [ "$(id -u)" -ne 0 ] || ! command -v unshare >/dev/null 2>&1; then
  LUMI_NETNS_UNAVAILABLE="needs root and unshare" exec "$@"
fi
exec unshare -n sh -c '
  if ip link set lo up &&
     ip link add lumiA type veth peer name lumiA-peer &&
     ip link add lumiB type veth peer name lumiB-peer &&
     ip addr add 10.71.1.1/24 dev lumiA &&
     ip addr add 10.71.2.1/24 dev lumiB &&
     ip link set lumiA up && ip link set lumiA-peer up &&
     ip link set lumiB up && ip link set lumiB-peer up &&
     ip route add default dev lumiA; then
    export LUMI_NETNS_INTERFACES="10.71.1.1 10.71.2.1"
  else
    export LUMI_NETNS_UNAVAILABLE="cannot build the private network"
  fi
  exec "$@"' sh "$@"
