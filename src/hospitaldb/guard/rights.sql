-- Rights: the screens' own checks, made again by the server where the write
-- lands. A write of a login that is not the owner's needs the bound
-- employee's right; the server's refusal carries the text a screen shows.

-- The employees' rights are changed by those with the maintenance right.
CREATE OR REPLACE FUNCTION chemodesk_private.guard_rights()
RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public, pg_temp
AS $$
BEGIN
    IF chemodesk_private.enforced() AND NOT chemodesk_private.has_right('isMaintenance') THEN
        RAISE EXCEPTION USING
            MESSAGE = 'You don''t have enough rights to perform this operation.',
            ERRCODE = 'CDR01';
    END IF;
    RETURN coalesce(NEW, OLD);
END
$$;

-- Charges: posted with the posting or the receivable right, cancelled with
-- the cancelling right, marked receivable with the receivable right, never
-- deleted.
CREATE OR REPLACE FUNCTION chemodesk_private.guard_charges()
RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public, pg_temp
AS $$
BEGIN
    IF NOT chemodesk_private.enforced() THEN
        RETURN coalesce(NEW, OLD);
    END IF;
    IF TG_OP = 'DELETE' THEN
        RAISE EXCEPTION USING
            MESSAGE = 'You don''t have enough rights to perform this operation.',
            ERRCODE = 'CDR01';
    END IF;
    IF TG_OP = 'INSERT' THEN
        IF coalesce(NEW.isreceivable, 0) = 1 THEN
            IF NOT chemodesk_private.has_right('isReceivableEntry') THEN
                RAISE EXCEPTION USING
                    MESSAGE = 'You don''t have enough rights to perform this operation.',
                    ERRCODE = 'CDR01';
            END IF;
        ELSIF NOT (chemodesk_private.has_right('isPostCharge')
                   OR chemodesk_private.has_right('isReceivableEntry')) THEN
            RAISE EXCEPTION USING
                MESSAGE = 'You don''t have enough rights to perform this operation.',
                ERRCODE = 'CDR01';
        END IF;
        RETURN NEW;
    END IF;
    IF upper(coalesce(NEW.requeststatus, '')) = 'C'
       AND upper(coalesce(OLD.requeststatus, '')) <> 'C'
       AND NOT chemodesk_private.has_right('isCancelCharges') THEN
        RAISE EXCEPTION USING
            MESSAGE = 'You don''t have enough rights to perform this operation.',
            ERRCODE = 'CDR01';
    END IF;
    IF coalesce(NEW.isreceivable, 0) <> coalesce(OLD.isreceivable, 0)
       AND NOT chemodesk_private.has_right('isReceivableEntry') THEN
        RAISE EXCEPTION USING
            MESSAGE = 'You don''t have enough rights to perform this operation.',
            ERRCODE = 'CDR01';
    END IF;
    RETURN NEW;
END
$$;

-- Requests: a pharmacy request needs the pharmacy right, any other the
-- supply room's.
CREATE OR REPLACE FUNCTION chemodesk_private.guard_requests()
RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public, pg_temp
AS $$
BEGIN
    IF NOT chemodesk_private.enforced() THEN
        RETURN coalesce(NEW, OLD);
    END IF;
    IF NOT chemodesk_private.has_right(
            CASE WHEN upper(coalesce((coalesce(NEW, OLD)).requesttype, '')) = 'PH'
                 THEN 'isPHRequest' ELSE 'isCSRReqeust' END) THEN
        RAISE EXCEPTION USING
            MESSAGE = 'You don''t have enough rights to perform this operation.',
            ERRCODE = 'CDR01';
    END IF;
    RETURN coalesce(NEW, OLD);
END
$$;

-- Assessments are written by those with the cash assessment right; the
-- status screen, under Maintenance, may also remark and revoke them.
CREATE OR REPLACE FUNCTION chemodesk_private.guard_assessments()
RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public, pg_temp
AS $$
BEGIN
    IF chemodesk_private.enforced() AND NOT chemodesk_private.has_right('isCashAssessment')
       AND (TG_OP = 'INSERT' OR NOT chemodesk_private.has_right('isMaintenance')) THEN
        RAISE EXCEPTION USING
            MESSAGE = 'You don''t have enough rights to perform this operation.',
            ERRCODE = 'CDR01';
    END IF;
    RETURN coalesce(NEW, OLD);
END
$$;

DROP TRIGGER IF EXISTS chemodesk_guard ON clinical_area.tbcancercharges;
CREATE TRIGGER chemodesk_guard BEFORE INSERT OR UPDATE OR DELETE
    ON clinical_area.tbcancercharges
    FOR EACH ROW EXECUTE FUNCTION chemodesk_private.guard_charges();

DROP TRIGGER IF EXISTS chemodesk_guard ON clinical_area.tbcancerusersetting;
CREATE TRIGGER chemodesk_guard BEFORE INSERT OR UPDATE OR DELETE
    ON clinical_area.tbcancerusersetting
    FOR EACH ROW EXECUTE FUNCTION chemodesk_private.guard_rights();

DROP TRIGGER IF EXISTS chemodesk_guard ON clinical_area.tbcancerrequest;
CREATE TRIGGER chemodesk_guard BEFORE INSERT OR UPDATE OR DELETE
    ON clinical_area.tbcancerrequest
    FOR EACH ROW EXECUTE FUNCTION chemodesk_private.guard_requests();

DROP TRIGGER IF EXISTS chemodesk_guard ON billing.tbcashassessment;
CREATE TRIGGER chemodesk_guard BEFORE INSERT OR UPDATE OR DELETE
    ON billing.tbcashassessment
    FOR EACH ROW EXECUTE FUNCTION chemodesk_private.guard_assessments();
