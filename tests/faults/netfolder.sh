#!/bin/sh
# A folder of this computer seen through sshfs at each mount point, as the
# desks of other computers see the office's shared folder: an sshd of its own
# on a port of 127.0.0.1, with keys made for the occasion in <state>.
#   netfolder.sh up <state> <folder> <mount point>...
#   netfolder.sh down <state> <mount point>...
# "up" ends with status 77 and the reason on standard output when this
# computer cannot do it (no sshfs or sshd, no /dev/fuse, not root).
set -u
what=$1 state=$2
shift 2
skip() {
    echo "$1"
    shift
    sh "$0" down "$state" "$@" >/dev/null 2>&1
    exit 77
}

if [ "$what" = down ]; then
    for m in "$@"; do fusermount3 -u "$m" 2>/dev/null || fusermount -u "$m" 2>/dev/null || umount "$m" 2>/dev/null; done
    [ -f "$state/sshd.pid" ] && kill "$(cat "$state/sshd.pid")" 2>/dev/null
    exit 0
fi

folder=$1
shift
command -v sshfs >/dev/null || skip "sshfs non installato (pacchetto sshfs)"
[ -x /usr/sbin/sshd ] || skip "sshd non installato (pacchetto openssh-server)"
[ "$(id -u)" = 0 ] || skip "serve l'utente root per avviare sshd"
[ -c /dev/fuse ] && [ -r /dev/fuse ] || skip "/dev/fuse non disponibile"
mkdir -p "$state" /run/sshd || skip "cartelle di sshd non create"
ssh-keygen -q -t ed25519 -N '' -f "$state/host" && ssh-keygen -q -t ed25519 -N '' -f "$state/user" || skip "ssh-keygen non riuscito"
cp "$state/user.pub" "$state/authorized_keys"
port=$((20000 + $$ % 20000))
cat > "$state/sshd_config" <<EOF
Port $port
ListenAddress 127.0.0.1
HostKey $state/host
AuthorizedKeysFile $state/authorized_keys
PidFile $state/sshd.pid
PermitRootLogin prohibit-password
PasswordAuthentication no
KbdInteractiveAuthentication no
StrictModes no
UsePAM no
Subsystem sftp internal-sftp
EOF
/usr/sbin/sshd -f "$state/sshd_config" -E "$state/sshd.log" || skip "sshd non si avvia: $(cat "$state/sshd.log")"
for m in "$@"; do
    # Names and attributes read anew at each look: what another desk wrote is seen at once.
    timeout 20 sshfs -p "$port" -o IdentityFile="$state/user",StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null,BatchMode=yes \
        -o dir_cache=no,attr_timeout=0,entry_timeout=0 "root@127.0.0.1:$folder" "$m" 2>"$state/sshfs.log" \
        || skip "sshfs non monta la cartella: $(cat "$state/sshfs.log")" "$@"
done
