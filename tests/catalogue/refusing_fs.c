/* A pass-through FUSE file system over a folder that refuses every write with EROFS while a
 * flag file exists: a medium that turns read-only under an open file and back, which Linux
 * does not allow a tmpfs (its remount fails while a file on it is open for writing).
 *   refusing_fs BACKING FLAG MOUNTPOINT [FUSE OPTIONS]
 * Built and run by real_faults_test.sh, natively. */
#define FUSE_USE_VERSION 31
#include <fuse.h>
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

static const char* g_backing;
static const char* g_flag;

static void real(char* out, const char* path) { snprintf(out, PATH_MAX, "%s%s", g_backing, path); }
static int refusing(void) { return access(g_flag, F_OK) == 0; }
static int result(int rc) { return rc < 0 ? -errno : rc; }

static int fs_getattr(const char* path, struct stat* st, struct fuse_file_info* fi) {
    char p[PATH_MAX];
    if (fi) return result(fstat((int)fi->fh, st));
    real(p, path);
    return result(lstat(p, st));
}
static int fs_readdir(const char* path, void* buf, fuse_fill_dir_t fill, off_t off, struct fuse_file_info* fi,
                      enum fuse_readdir_flags flags) {
    char p[PATH_MAX];
    real(p, path);
    DIR* d = opendir(p);
    if (!d) return -errno;
    for (struct dirent* e; (e = readdir(d));) fill(buf, e->d_name, NULL, 0, 0);
    closedir(d);
    return 0;
}
static int fs_open(const char* path, struct fuse_file_info* fi) {
    char p[PATH_MAX];
    if ((fi->flags & O_ACCMODE) != O_RDONLY && refusing()) return -EROFS;
    real(p, path);
    int fd = open(p, fi->flags);
    if (fd < 0) return -errno;
    fi->fh = (uint64_t)fd;
    return 0;
}
static int fs_create(const char* path, mode_t mode, struct fuse_file_info* fi) {
    char p[PATH_MAX];
    if (refusing()) return -EROFS;
    real(p, path);
    int fd = open(p, fi->flags | O_CREAT, mode);
    if (fd < 0) return -errno;
    fi->fh = (uint64_t)fd;
    return 0;
}
static int fs_read(const char* path, char* buf, size_t n, off_t off, struct fuse_file_info* fi) {
    return result((int)pread((int)fi->fh, buf, n, off));
}
static int fs_write(const char* path, const char* buf, size_t n, off_t off, struct fuse_file_info* fi) {
    if (refusing()) return -EROFS;
    return result((int)pwrite((int)fi->fh, buf, n, off));
}
static int fs_truncate(const char* path, off_t size, struct fuse_file_info* fi) {
    char p[PATH_MAX];
    if (refusing()) return -EROFS;
    if (fi) return result(ftruncate((int)fi->fh, size));
    real(p, path);
    return result(truncate(p, size));
}
static int fs_fsync(const char* path, int datasync, struct fuse_file_info* fi) {
    if (refusing()) return -EROFS;
    return result(datasync ? fdatasync((int)fi->fh) : fsync((int)fi->fh));
}
static int fs_release(const char* path, struct fuse_file_info* fi) { return result(close((int)fi->fh)); }
static int fs_unlink(const char* path) {
    char p[PATH_MAX];
    if (refusing()) return -EROFS;
    real(p, path);
    return result(unlink(p));
}
static int fs_mkdir(const char* path, mode_t mode) {
    char p[PATH_MAX];
    if (refusing()) return -EROFS;
    real(p, path);
    return result(mkdir(p, mode));
}
static int fs_rmdir(const char* path) {
    char p[PATH_MAX];
    if (refusing()) return -EROFS;
    real(p, path);
    return result(rmdir(p));
}
static int fs_rename(const char* from, const char* to, unsigned int flags) {
    char a[PATH_MAX], b[PATH_MAX];
    if (refusing()) return -EROFS;
    real(a, from);
    real(b, to);
    return result(rename(a, b));
}
static int fs_chmod(const char* path, mode_t mode, struct fuse_file_info* fi) {
    char p[PATH_MAX];
    if (refusing()) return -EROFS;
    real(p, path);
    return result(chmod(p, mode));
}
static int fs_utimens(const char* path, const struct timespec tv[2], struct fuse_file_info* fi) {
    char p[PATH_MAX];
    if (refusing()) return -EROFS;
    real(p, path);
    return result(utimensat(AT_FDCWD, p, tv, 0));
}
static int fs_statfs(const char* path, struct statvfs* st) {
    char p[PATH_MAX];
    real(p, path);
    return result(statvfs(p, st));
}

static const struct fuse_operations kOps = {
    .getattr = fs_getattr, .readdir = fs_readdir, .open = fs_open, .create = fs_create, .read = fs_read,
    .write = fs_write, .truncate = fs_truncate, .fsync = fs_fsync, .release = fs_release, .unlink = fs_unlink,
    .mkdir = fs_mkdir, .rmdir = fs_rmdir, .rename = fs_rename, .chmod = fs_chmod, .utimens = fs_utimens,
    .statfs = fs_statfs,
};

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: refusing_fs BACKING FLAG MOUNTPOINT [FUSE OPTIONS]\n");
        return 2;
    }
    g_backing = argv[1];
    g_flag = argv[2];
    argv[2] = argv[0];   /* FUSE's arguments: the program, the mount point, its options */
    return fuse_main(argc - 2, argv + 2, &kOps, NULL);
}
