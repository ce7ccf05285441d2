# A one-node Slurm cluster of its own, for the tests: sourced, then `slurm_start DIR` and
# `slurm_stop DIR`. Needs root (the daemons run as root, munged as munge) and Debian's slurm-wlm
# and munge. Everything it keeps (key, socket, state, logs, pid files) stays in DIR.

slurm_start() {
  dir=$1
  host=$(hostname -s)
  chmod 711 "$dir"
  mkdir -p "$dir/munge" "$dir/state" "$dir/spool"
  chown munge:munge "$dir/munge"
  chmod 700 "$dir/munge"
  runuser -u munge -- mungekey --create --keyfile="$dir/munge/munge.key" >/dev/null
  runuser -u munge -- munged --force --socket="$dir/munge/socket" --key-file="$dir/munge/munge.key" \
    --pid-file="$dir/munge/munged.pid" --log-file="$dir/munge/munged.log" \
    --seed-file="$dir/munge/munged.seed" || return 1
  # Ports of its own, away from a real cluster's 6817 and 6818.
  cat >"$dir/slurm.conf" <<CONF
ClusterName=quarrowtest
SlurmctldHost=$host
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket=$dir/munge/socket
CredType=cred/munge
SlurmctldPort=26817
SlurmdPort=26818
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/slurmctld.log
SlurmdLogFile=$dir/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
MpiDefault=none
ReturnToService=2
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
NodeName=$host CPUs=$(nproc) State=UNKNOWN
PartitionName=test Nodes=$host Default=YES MaxTime=INFINITE State=UP
CONF
  export SLURM_CONF="$dir/slurm.conf"
  slurmctld -f "$SLURM_CONF" || return 1
  slurmd -f "$SLURM_CONF" || return 1
  # The node reports in within a few seconds.
  for _ in $(seq 60); do
    if sinfo -h -o %t 2>/dev/null | grep -Eq '^(idle|mix|alloc)'; then
      return 0
    fi
    sleep 0.5
  done
  echo "slurm: the node never came up" >&2
  return 1
}

# Stops what slurm_start started, by its pid files, and waits until each daemon is gone.
slurm_stop() {
  dir=$1
  for pidfile in "$dir/slurmd.pid" "$dir/slurmctld.pid" "$dir/munge/munged.pid"; do
    [ -s "$pidfile" ] || continue
    pid=$(cat "$pidfile")
    kill "$pid" 2>/dev/null || continue
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
  done
}
